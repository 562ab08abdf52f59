#include "engine/platform/VantorDeviceWin32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/audio/IAudioDriver.h"
#include "engine/core/DeviceDriverEvents.h"
#include "engine/platform/VideoModeList.h"
#include "platform/DeviceFixture.h"

namespace {

using VantorDeviceRunTest = DeviceTest;

TEST_F(VantorDeviceRunTest, OnePassHandlesOneMessageWithoutFrameOrSleep) {
    struct Case {
        const char* name;
        bool minimised;
        uint32_t queued;
        const char* taking;
        bool result;
    };
    const Case cases[] = {
        {"visible peeks", false, WM_KEYDOWN, "peekMessage", true},
        {"hidden waits", true, WM_KEYDOWN, "getMessage", true},
        {"quit while visible", false, WM_QUIT, "peekMessage", false},
        {"quit waited for", true, WM_QUIT, "getMessage", false},
    };
    for (const Case& c : cases) {
        make();
        if (c.minimised)
            send(WM_SIZE, SIZE_MINIMIZED);
        queue(c.queued);
        host.tickCount += 50;
        recorder.events.clear();
        EXPECT_EQ(device->runOnce(), c.result) << c.name;
        EXPECT_TRUE(called(c.taking)) << c.name;
        EXPECT_EQ(host.calls().size(), 1u) << c.name << ": no sleep after a message";
        const std::vector<uint32_t> dispatched =
            c.queued == WM_QUIT ? std::vector<uint32_t>{} : std::vector<uint32_t>{34};
        EXPECT_EQ(recorder.ids(), dispatched) << c.name << ": no frame after a message";
    }
}

TEST_F(VantorDeviceRunTest, FramesAndSleepFollowTheWindowState) {
    struct Case {
        const char* name;
        bool fullScreen;
        bool adopted;
        bool deactivated;
        bool minimised;
        std::vector<uint32_t> events;
        const char* sleep; // null: no sleep
    };
    const Case cases[] = {
        {"active", false, false, false, false, {16, 17}, "sleep 1"},
        {"inactive windowed renders", false, false, true, false, {17}, "sleep 20"},
        {"minimised", false, false, false, true, {}, "sleep 20"},
        {"inactive full screen", true, false, true, false, {}, "sleep 20"},
        {"adopted window", false, true, false, false, {16, 17}, nullptr},
    };
    for (const Case& c : cases) {
        CreationParameters parameters = c.fullScreen ? fullScreen() : windowed();
        if (c.adopted)
            parameters.windowHandle = host.createWindow(HostWindowDesc());
        make(parameters);
        if (c.deactivated)
            send(WM_ACTIVATEAPP, 0);
        if (c.minimised)
            send(WM_SIZE, SIZE_MINIMIZED);
        recorder.events.clear();
        host.clearCalls();
        host.tickCount += 25;
        EXPECT_TRUE(device->runOnce()) << c.name;
        EXPECT_EQ(recorder.ids(), c.events) << c.name;
        if (c.sleep != nullptr)
            EXPECT_TRUE(called(c.sleep)) << c.name;
        else
            EXPECT_EQ(host.calls().size(), 0u) << c.name << ": no messages taken, no sleep";
    }
}

// Quitting from a button closes the window during the frame's update: the frame must not go on
// to draw (the driver's present into the window that is gone failed with a warning).
TEST_F(VantorDeviceRunTest, AnUpdateThatClosesTheWindowEndsTheFrameWithoutRendering) {
    class Quitter : public CEventReceiver {
    public:
        explicit Quitter(CEngine& engine) : m_engine(engine) {
            setCategoryMask(CEvent::CategorySystem);
        }
        bool OnEvent(CEvent& event) override {
            if (event.getTypeId() == CEventSystemFlowUpdate::Id)
                m_engine.closeDevice();
            return false;
        }

    private:
        CEngine& m_engine;
    };
    make();
    Quitter quitter(*device);
    device->addReceiver(&quitter, 1);
    recorder.events.clear();
    host.tickCount += 25;
    EXPECT_TRUE(device->runOnce());
    EXPECT_EQ(recorder.ids(), (std::vector<uint32_t>{16, 22}));
    EXPECT_FALSE(device->runOnce()) << "the quit message";
    device->removeReceiver(&quitter);
}

TEST_F(VantorDeviceRunTest, PendingResizeReachesTheDriverOnce) {
    struct Case {
        const char* name;
        bool fullScreen;
        int32_t width;
        int32_t height;
        const char* logLine;
        CPixelSize driverSize;
        bool moves; // back to the requested size
    };
    const Case cases[] = {
        {"below 2 pixels",
         false,
         1,
         600,
         "Ignoring resize operation to (1 600)",
         {800, 600},
         false},
        {"windowed", false, 640, 480, "Resizing window (640 480)", {640, 480}, false},
        {"full screen keeps its size",
         true,
         1024,
         768,
         "Resizing window (1024 768)",
         {800, 600},
         true},
    };
    for (const Case& c : cases) {
        make(c.fullScreen ? fullScreen() : windowed());
        HostRect rect{0, 0, c.width, c.height};
        host.adjustWindowRect(rect, c.fullScreen);
        host.window(window())->rect = rect;
        send(WM_SIZE, SIZE_RESTORED);
        const std::string log = captureLog([&] { device->runOnce(); });
        EXPECT_NE(log.find(c.logLine), std::string::npos) << c.name << log;
        EXPECT_EQ(device->getVideoDriver()->getBackBufferSize(), c.driverSize) << c.name;
        const std::string move = "moveWindow " + std::to_string(window()) + " 0,0 800x600";
        EXPECT_EQ(called(move.c_str()), c.moves) << c.name;
        const std::string again = captureLog([&] { device->runOnce(); });
        EXPECT_EQ(again.find("esiz"), std::string::npos) << c.name << ": applied once";
    }
}

using VantorDeviceParametersTest = DeviceTest;

TEST_F(VantorDeviceParametersTest, LeavingFullScreenRestoresTheDesktopBeforeTheNewDriver) {
    make(fullScreen());
    EXPECT_EQ(host.currentMode.width, 800);
    ASSERT_TRUE(device->setParameters(windowed()));
    const int32_t restored = host.findCall("changeDisplayMode desktop");
    ASSERT_GE(restored, 0);
    EXPECT_LT(uint32_t(restored), TestOpenGLDriver::callsAtCreation);
    EXPECT_EQ(recorder.ids(), (std::vector<uint32_t>{10, 11}));
    EXPECT_TRUE(called("setWindowStyle 1 windowed"));
    EXPECT_TRUE(called("activateWindow 1"));
    EXPECT_EQ(host.countCalls("createWindow 800x600 windowed"), 0u) << "the window is kept";
    EXPECT_FALSE(device->isFullScreen());
}

TEST_F(VantorDeviceParametersTest, FullScreenWithTheDesktopFlagTakesTheDesktopSize) {
    make();
    CreationParameters parameters = fullScreen();
    parameters.bits = 32;
    parameters.useDesktopResolution = true;
    ASSERT_TRUE(device->setParameters(parameters));
    EXPECT_EQ(device->getCreationParameters().width, 1920u);
    EXPECT_EQ(device->getCreationParameters().height, 1080u);
    EXPECT_TRUE(called("changeDisplayMode 1920x1080x32@60"));
    EXPECT_TRUE(called("moveWindow 1 0,0 1920x1080"));
    EXPECT_EQ(device->getVideoDriver()->getBackBufferSize(), (CPixelSize{1920, 1080}));
}

TEST_F(VantorDeviceParametersTest, FailedFullScreenSwitchIsLoggedAndRetriedOnce) {
    host.failures.changeDisplayMode = DISP_CHANGE_BADMODE;
    const std::string log = captureLog([&] { make(fullScreen()); });
    EXPECT_NE(log.find("Switch to fullscreen: The graphics mode is not supported."),
              std::string::npos);
    // The OpenGL driver is made all the same; the display keeps its mode.
    EXPECT_NE(device->getVideoDriver(), nullptr);
    EXPECT_EQ(host.currentMode.width, 1920);
}

TEST_F(VantorDeviceParametersTest, DisplayModesAreListedOnceInAscendingOrder) {
    host.displayModes = {};
    const HostDisplayMode modes[] = {{1024, 768, 32, 60}, {800, 600, 16, 60}, {1024, 768, 32, 75},
                                     {800, 600, 32, 60},  {640, 480, 32, 60}, {1024, 600, 32, 60}};
    for (const HostDisplayMode& mode : modes)
        host.displayModes.append(mode);
    make();
    const CVideoModeList& list = *device->getDisplayModeList();
    const CVideoMode expected[] = {
        {640, 480, 32}, {800, 600, 16}, {800, 600, 32}, {1024, 600, 32}, {1024, 768, 32}};
    ASSERT_EQ(list.getModeCount(), 5u);
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(list.getMode(i), expected[i]) << i;
    EXPECT_EQ(list.getDesktopMode(), (CVideoMode{1920, 1080, 32}));
}

TEST_F(VantorDeviceParametersTest, WindowIsCentredOnTheDesktopWithTheCaptionAsTitle) {
    make();
    const FakeHostWindowSystem::Window* record = host.window(window());
    ASSERT_NE(record, nullptr);
    // 800 x 600 client, 3-pixel borders and a 19-pixel caption: 806 x 625 outside.
    EXPECT_EQ(record->rect.left, (1920 - 806) / 2);
    EXPECT_EQ(record->rect.top, (1080 - 625) / 2);
    EXPECT_TRUE(record->title == u"Vantor Title");
    EXPECT_TRUE(device->isActive());
    EXPECT_NE(device->getCursorControl(), nullptr);
}

TEST_F(VantorDeviceParametersTest, NullDriverOpensNoWindow) {
    make(windowed(0));
    EXPECT_EQ(window(), kNoHostWindow);
    EXPECT_NE(device->getVideoDriver(), nullptr);
    EXPECT_EQ(device->getCursorControl(), nullptr);
    EXPECT_NE(device->getFileSystem(), nullptr);
    EXPECT_NE(device->getSystemInfo(), nullptr);
}

TEST_F(VantorDeviceParametersTest, ReplacingTheAudioDriverAnnouncesBothChanges) {
    make();
    ASSERT_NE(device->getAudioDriver(), nullptr);
    AudioParameters openAL;
    openAL.driverType = 1;
    std::string log = captureLog([&] { EXPECT_FALSE(device->replaceAudioDriver(openAL)); });
    EXPECT_NE(log.find("Could not create OpenAL Audio Driver."), std::string::npos);
    EXPECT_EQ(device->getAudioDriver(), nullptr);
    EXPECT_EQ(recorder.ids(), std::vector<uint32_t>{12});

    recorder.events.clear();
    log = captureLog([&] { EXPECT_TRUE(device->replaceAudioDriver(AudioParameters())); });
    EXPECT_NE(log.find("Using audio: Null audio device"), std::string::npos);
    EXPECT_EQ(recorder.ids(), std::vector<uint32_t>{13});
    EXPECT_EQ(recorder.last<CEventAudioDriverCreated>()->getDriver().get(),
              device->getAudioDriver());
}

using VantorDeviceServicesTest = DeviceTest;

TEST_F(VantorDeviceServicesTest, MinimisedOnlyForTheMinimisedShowCommand) {
    struct Case {
        int32_t showCommand;
        bool minimised;
    };
    const Case cases[] = {{SW_SHOWMINIMIZED, true},
                          {SW_SHOWMAXIMIZED, false},
                          {SW_SHOWNORMAL, false},
                          {SW_HIDE, false}};
    make();
    for (const Case& c : cases) {
        host.window(window())->showCommand = c.showCommand;
        EXPECT_EQ(device->isMinimised(), c.minimised) << c.showCommand;
    }
    host.failures.showCommand = true;
    EXPECT_FALSE(device->isMinimised());
}

TEST_F(VantorDeviceServicesTest, OpenUrlLogsOnlyFailures) {
    make();
    std::string log = captureLog([&] { EXPECT_TRUE(device->openUrl("https://example.org/a b")); });
    EXPECT_TRUE(called("openUrl https://example.org/a b"));
    EXPECT_EQ(log.find("Unable"), std::string::npos);
    host.failures.openUrl = true;
    log = captureLog([&] { EXPECT_FALSE(device->openUrl("x;y")); });
    EXPECT_NE(log.find("WRN: Unable to open URL: x;y"), std::string::npos);
}

TEST_F(VantorDeviceServicesTest, GammaRampRoundTripsAndReportsNoBrightnessOrContrast) {
    make();
    ASSERT_TRUE(device->setGammaRamp(1.0f, 2.0f, 0.5f, 0.0f, 0.0f));
    float red = 0, green = 0, blue = 0, brightness = 7, contrast = 7;
    ASSERT_TRUE(device->getGammaRamp(red, green, blue, brightness, contrast));
    EXPECT_NEAR(red, 1.0f, 0.05f);
    EXPECT_NEAR(green, 2.0f, 0.1f);
    EXPECT_NEAR(blue, 0.5f, 0.05f);
    EXPECT_EQ(brightness, 0.0f);
    EXPECT_EQ(contrast, 0.0f);
    host.failures.gammaRamp = true;
    red = 9;
    EXPECT_FALSE(device->getGammaRamp(red, green, blue, brightness, contrast));
    EXPECT_EQ(red, 9.0f);
}

TEST_F(VantorDeviceServicesTest, CaptionGoesToTheWindowTitle) {
    make();
    EXPECT_TRUE(device->setWindowCaption(u"Velmora"));
    EXPECT_TRUE(host.window(window())->title == u"Velmora");
}

TEST_F(VantorDeviceServicesTest, CloseDeviceDestroysTheWindowAndEndsTheLoop) {
    make();
    const HostWindow closed = window();
    device->closeDevice();
    EXPECT_FALSE(host.isWindow(closed));
    EXPECT_EQ(recorder.ids(), std::vector<uint32_t>{22}) << "no close request on this path";
    EXPECT_FALSE(device->runOnce());
}

TEST_F(VantorDeviceServicesTest, DestructionRestoresTheDesktopAndClosesTheWindow) {
    make(fullScreen());
    device.reset();
    EXPECT_TRUE(called("changeDisplayMode desktop"));
    EXPECT_TRUE(called("destroyWindow 1"));
    EXPECT_EQ(host.queuedMessages(), 0u) << "a device going away posts no quit";
}

} // namespace
