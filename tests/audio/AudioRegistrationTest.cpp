#include "engine/audio/AudioRegistration.h"

#include <gtest/gtest.h>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/audio/SoundPack.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/platform/DriverFactories.h"

TEST(AudioRegistrationTest, EngineMakesTheLoaderManagerTheOpenALDriverTheProcessorsAndThePlayer) {
    registerAudioLibrary();
    CEngineServices services(engineServiceFactories());
    ASSERT_NE(services.getSoundLoaderManager(), nullptr);
    AudioParameters parameters;
    parameters.driverType = 1;
    const CRefPointer<IAudioDriver> driver =
        openALDriverFactory()(parameters, nullptr, services.getSoundLoaderManager());
    ASSERT_TRUE(driver);
    EXPECT_EQ(CString(driver->getName().c_str()).subString(0, 6), "OpenAL");
    const CRefPointer<CContentProcessorsManager> processors(new CContentProcessorsManager({}));
    EXPECT_NE(processors->findProcessor(CSoundSource::kContentType), nullptr);
    EXPECT_NE(processors->findProcessor(SoundPack::kContentType), nullptr);
    EXPECT_NE(engineSubsystemFactories().soundPlayer, nullptr);
    engineSubsystemFactories() = EngineSubsystemFactories();
    engineServiceFactories() = EngineServiceFactories();
    openALDriverFactory() = nullptr;
    contentProcessorFactories() = ContentProcessorFactories();
}
