#include "engine/audio/AudioRegistration.h"

#include "engine/audio/OpenALAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/audio/SoundPackProcessor.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/audio/SoundProcessor.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/platform/DriverFactories.h"

void registerAudioLibrary() {
    engineServiceFactories().soundLoaderManager = [] {
        return CServiceReference<CSoundLoaderManager>::adopt(new CSoundLoaderManager());
    };
    openALDriverFactory() = &createOpenALAudioDriver;
    contentProcessorFactories().sound = &CSoundProcessor::create;
    contentProcessorFactories().soundPack = &CSoundPackProcessor::create;
    engineSubsystemFactories().soundPlayer = [](CEngine& engine) {
        return CServiceReference<CSoundPlayer>::adopt(CSoundPlayer::create(engine).detach());
    };
}
