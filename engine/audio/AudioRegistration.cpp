#include "engine/audio/AudioRegistration.h"

#include "engine/audio/OpenALAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/audio/SoundProcessor.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/platform/DriverFactories.h"

void registerAudioLibrary() {
    engineServiceFactories().soundLoaderManager = [] {
        return CServiceReference<CSoundLoaderManager>::adopt(new CSoundLoaderManager());
    };
    openALDriverFactory() = &createOpenALAudioDriver;
    contentProcessorFactories().sound = &CSoundProcessor::create;
}
