#include "engine/platform/EngineStartup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/video/ImageLoaderManager.h"
#include "io/ScopedEnvironment.h"
#include "io/TempFolder.h"
#include "platform/DeviceFixture.h"

// The program's own start on the process's SDL window system, under SDL's offscreen driver.
namespace {

class EngineStartupSdlTest : public ::testing::Test {
protected:
    // The services are built again from what the start-up registers.
    void SetUp() override { CEngineServices::destroyInstance(); }
    void TearDown() override {
        deviceFactory() = nullptr;
        engineSubsystemFactories() = EngineSubsystemFactories();
        engineServiceFactories() = EngineServiceFactories();
        contentProcessorFactories() = ContentProcessorFactories();
        openGLDriverFactory() = nullptr;
        CEngineServices::destroyInstance();
    }

    static EngineStartupSettings settings() {
        EngineStartupSettings settings;
        settings.publisherName = u"Test Publisher";
        settings.titleName = u"Test Title";
        settings.titleCaption = u"Test Caption";
        settings.installCrashHandler = false;
        return settings;
    }
};

TEST_F(EngineStartupSdlTest, StartedEngineHasEveryServiceOfTheRegisteredLibraries) {
    TempFolder data;
    ScopedEnvironment dataHome("XDG_DATA_HOME", data.path().c_str());
    CEngineStartup startup(settings());
    CEngine* engine = startup.startEngine();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(CEngine::instance(), engine);
    EXPECT_TRUE(engine->getGlobalProperties()->getStringW("TitleCaption") == u"Test Caption");
    EXPECT_NE(engine->getTimer(), nullptr);
    EXPECT_NE(engine->getSystemInfo(), nullptr);
    EXPECT_NE(engine->getDisplayModeList(), nullptr);
    EXPECT_NE(engine->getVideoDriver(), nullptr);
    EXPECT_NE(engine->getAudioDriver(), nullptr);
    EXPECT_NE(engine->getSoundPlayer(), nullptr);
    EXPECT_NE(engine->getContentProcessorsManager(), nullptr);

    // The profiles are written below the data folder named after the title properties.
    ASSERT_NE(engine->getProfileManager(), nullptr);
    EXPECT_TRUE(engine->getProfileManager()->saveUserProfiles());
    EXPECT_TRUE(std::filesystem::exists(data.path() / "Test Publisher/Test Title/profile.dat"));

    const CRefPointer<CContentManager> content = engine->createContentManager().toRefPointer();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->getFileSystem(), engine->getFileSystem());
    EXPECT_EQ(content->getProcessorsManager(), engine->getContentProcessorsManager());
    EXPECT_EQ(content->getVideoDriver(), engine->getVideoDriver());
    for (const uint32_t type :
         {contentType("imag"), contentType("itex"), contentType("atex"), contentType("atxc"),
          contentType("font"), contentType("isnd"), contentType("sndp")})
        EXPECT_NE(engine->getContentProcessorsManager()->findProcessor(type), nullptr) << type;

    CEngineServices* services = CEngineServices::instance();
    EXPECT_NE(services->getPropertyTypeRegistry(), nullptr);
    EXPECT_NE(services->getImageLoaderManager(), nullptr);
    EXPECT_NE(services->getSoundLoaderManager(), nullptr);
    EXPECT_NE(services->getDictionary(), nullptr);
    EXPECT_NE(services->getNamedObjectRegistry(), nullptr);

    // Unique names are drawn from the services' generator.
    ASSERT_NE(services->getRandom(), nullptr);
    services->getRandom()->seed(77);
    CRandom same;
    same.seed(77);
    char digits[8];
    std::snprintf(digits, sizeof(digits), "%06u", unsigned(same.next() % 999999));
    EXPECT_TRUE(engine->getFileSystem()->makeUniqueFileName(data.wide(), u"shot") ==
                CStringW(u"shot") + CStringW(digits));
}

TEST_F(EngineStartupSdlTest, EngineStartsWithoutAWindowAndOpensItLater) {
    CEngineStartup startup(settings());
    openGLDriverFactory() = &TestOpenGLDriver::create;
    auto* device = static_cast<CVantorDeviceWin32*>(startup.startEngine());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->getWindow(), kNoHostWindow);

    CreationParameters parameters;
    parameters.driverType = 3;
    parameters.width = 320;
    parameters.height = 240;
    EXPECT_TRUE(device->setParameters(parameters));
    const HostWindow window = device->getWindow();
    EXPECT_TRUE(sdlHostWindowSystem().isWindow(window));

    device->closeDevice();
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i)
        ended = !startup.runOnce();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(sdlHostWindowSystem().isWindow(window));
}

} // namespace
