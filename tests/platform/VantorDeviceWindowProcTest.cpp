#include "engine/platform/VantorDeviceWin32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "platform/DeviceFixture.h"

namespace {

using WindowProcTest = DeviceTest;

TEST_F(WindowProcTest, CaptureIsHeldWhileAnyButtonIsDown) {
    make();
    send(WM_LBUTTONDOWN, 0, 10, 20);
    send(WM_RBUTTONDOWN, 0, 11, 21);
    send(WM_LBUTTONUP, 0, 12, 22);
    EXPECT_EQ(host.getCapture(), window());
    EXPECT_FALSE(called("releaseCapture"));
    send(WM_RBUTTONUP, 0, 13, 23);
    EXPECT_EQ(host.getCapture(), kNoHostWindow);
    EXPECT_EQ(recorder.ids(), (std::vector<uint32_t>{24, 25, 27, 28}));
    EXPECT_EQ(recorder.last<CEventInputMouseRightUp>()->getX(), 13);
    EXPECT_EQ(recorder.last<CEventInputMouseRightUp>()->getY(), 23);

    // A release without a press keeps the count at 0, so the next press and release pair up.
    host.clearCalls();
    send(WM_MBUTTONUP);
    send(WM_MBUTTONDOWN);
    send(WM_MBUTTONUP);
    EXPECT_EQ(host.countCalls("releaseCapture"), 2u);
}

TEST_F(WindowProcTest, CaptureLostElsewhereResetsTheCount) {
    make();
    send(WM_LBUTTONDOWN);
    host.releaseCapture();
    send(WM_LBUTTONDOWN);
    host.clearCalls();
    send(WM_LBUTTONUP);
    EXPECT_TRUE(called("releaseCapture")) << "one press counted after the loss, not two";
}

TEST_F(WindowProcTest, MousePositionsAreSignedAndMovesNeedAVisibleWindow) {
    make();
    send(WM_LBUTTONDOWN, 0, 5, 5);
    send(WM_MOUSEMOVE, 0, -7, -3);
    ASSERT_NE(recorder.last<CEventInputMouseMove>(), nullptr);
    EXPECT_EQ(recorder.last<CEventInputMouseMove>()->getX(), -7);
    EXPECT_EQ(recorder.last<CEventInputMouseMove>()->getY(), -3);
    send(WM_SIZE, SIZE_MINIMIZED);
    recorder.events.clear();
    send(WM_MOUSEMOVE, 0, 1, 1);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(WindowProcTest, WheelGivesNotchesAtTheClientPosition) {
    make();
    const HostRect outer = host.window(window())->rect;
    // The client area starts past the 3-pixel border and the 19-pixel caption.
    const int32_t originX = outer.left + 3;
    const int32_t originY = outer.top + 22;
    const int16_t towardsUser = -240;
    send(WM_MOUSEWHEEL, uint64_t(uint16_t(towardsUser)) << 16, originX + 4, originY + 9);
    const auto* wheel = recorder.last<CEventInputMouseWheel>();
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->getDelta(), -2.0f);
    EXPECT_EQ(wheel->getX(), 4);
    EXPECT_EQ(wheel->getY(), 9);
    EXPECT_TRUE(wheel->isKindOf(5) && wheel->isKindOf(3) && wheel->getCategory() == 8);

    send(WM_ACTIVATEAPP, 0);
    recorder.events.clear();
    send(WM_MOUSEWHEEL, uint64_t(120) << 16);
    EXPECT_TRUE(recorder.events.empty()) << "no wheel while inactive";
}

TEST_F(WindowProcTest, KeyUpReadsModifiersOfTheLastKeyDown) {
    make();
    host.setKeyDown(VK_SHIFT, true);
    HostMessage down;
    down.window = window();
    down.message = WM_KEYDOWN;
    down.wParam = 'A';
    down.character = u'A';
    device->windowProc(down);
    host.setKeyDown(VK_SHIFT, false);
    host.setKeyDown(VK_CONTROL, true);
    HostMessage up = down;
    up.message = WM_KEYUP;
    device->windowProc(up);
    const auto* keyUp = recorder.last<CEventInputKeyUp>();
    ASSERT_NE(keyUp, nullptr);
    EXPECT_EQ(keyUp->getCharacter(), u'A');
    EXPECT_EQ(keyUp->getVirtualKey(), uint32_t('A'));
    EXPECT_TRUE(keyUp->isShiftDown());
    EXPECT_FALSE(keyUp->isControlDown());
    EXPECT_EQ(keyUp->getCategory(), 4u);
    EXPECT_TRUE(recorder.last<CEventInputKeyDown>()->isShiftDown());
}

TEST_F(WindowProcTest, ActivateEventTellsWhetherTheWindowIsActiveAndUsable) {
    struct Case {
        uint32_t state;
        uint32_t minimised;
        bool active;
    };
    const Case cases[] = {{WA_ACTIVE, 0, true},
                          {WA_CLICKACTIVE, 0, true},
                          {WA_INACTIVE, 0, false},
                          {WA_ACTIVE, 1, false}};
    make();
    for (const Case& c : cases) {
        send(WM_ACTIVATE, makeLParam(c.state, c.minimised));
        EXPECT_EQ(recorder.last<CEventSystemFlowActivate>()->isActive(), c.active)
            << c.state << " " << c.minimised;
        EXPECT_TRUE(device->isActive()) << "WM_ACTIVATE leaves the device's flag alone";
    }
}

TEST_F(WindowProcTest, SecondDeactivationIsSilent) {
    make();
    std::string log = captureLog([&] {
        send(WM_ACTIVATEAPP, 0);
        send(WM_ACTIVATEAPP, 0);
    });
    EXPECT_EQ(recorder.ids(), std::vector<uint32_t>{20});
    EXPECT_FALSE(recorder.last<CEventSystemFlowAppActivate>()->isActivated());
    EXPECT_EQ(log.find("Application deactivated."), log.rfind("Application deactivated."));
    EXPECT_FALSE(device->isActive());
    log = captureLog([&] { send(WM_ACTIVATEAPP, 1); });
    EXPECT_TRUE(recorder.last<CEventSystemFlowAppActivate>()->isActivated());
    EXPECT_NE(log.find("INF: Application activated."), std::string::npos);
    EXPECT_TRUE(device->isActive());
}

TEST_F(WindowProcTest, OpenGLInFullScreenGivesUpTheModeWhileInactive) {
    CreationParameters parameters = fullScreen();
    parameters.width = 1024;
    parameters.height = 768;
    parameters.bits = 32;
    make(parameters);
    send(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(host.currentMode.width, 1920);
    send(WM_ACTIVATEAPP, 1);
    EXPECT_EQ(host.currentMode.width, 1024);
    EXPECT_EQ(host.currentMode.bitsPerPixel, 32);
}

TEST_F(WindowProcTest, PaintRendersOnlyWhenWindowedAndInactive) {
    struct Case {
        bool fullScreen;
        bool inactive;
        bool renders;
    };
    const Case cases[] = {
        {false, true, true}, {false, false, false}, {true, true, false}, {true, false, false}};
    for (const Case& c : cases) {
        make(c.fullScreen ? fullScreen() : windowed());
        if (c.inactive)
            send(WM_ACTIVATEAPP, 0);
        recorder.events.clear();
        send(WM_PAINT);
        send(WM_PAINT);
        EXPECT_EQ(recorder.count(17), c.renders ? 2u : 0u) << c.fullScreen << c.inactive;
    }
}

TEST_F(WindowProcTest, CloseRequestCanBeRefused) {
    make();
    recorder.handled = {21};
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_TRUE(host.isWindow(window()));
    EXPECT_EQ(recorder.ids(), std::vector<uint32_t>{21});

    recorder.handled.clear();
    recorder.events.clear();
    const HostWindow closing = window();
    queue(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(device->runOnce());
    EXPECT_FALSE(host.isWindow(closing));
    EXPECT_EQ(recorder.ids(), (std::vector<uint32_t>{21, 22}));
    EXPECT_FALSE(device->runOnce()) << "the quit message ends the loop";
}

TEST_F(WindowProcTest, WindowCommandsAreSwallowedInFullScreen) {
    struct Case {
        uint32_t command;
        bool fullScreen;
        int64_t result;
    };
    const Case cases[] = {
        {SC_SIZE, true, 1},        {SC_MOVE, true, 1},         {SC_MAXIMIZE, true, 1},
        {SC_KEYMENU + 5, true, 1}, {SC_SIZE, false, 0},        {SC_MOVE, false, 0},
        {SC_SCREENSAVE, false, 0}, {SC_MONITORPOWER, true, 0}, {SC_RESTORE, true, 0},
    };
    for (const Case& c : cases) {
        make(c.fullScreen ? fullScreen() : windowed());
        EXPECT_EQ(send(WM_SYSCOMMAND, c.command), c.result) << std::hex << c.command;
        EXPECT_TRUE(host.isWindow(window()));
    }
}

TEST_F(WindowProcTest, MovingTheWindowStopsTheClock) {
    make();
    ASSERT_FALSE(device->getTimer()->isStopped());
    send(WM_SYSCOMMAND, SC_MOVE);
    EXPECT_TRUE(device->getTimer()->isStopped());
    host.tickCount += 25;
    device->runOnce();
    EXPECT_FALSE(device->getTimer()->isStopped()) << "the next frame starts it again";
}

TEST_F(WindowProcTest, HitTestIsAllClientInFullScreen) {
    make(fullScreen());
    EXPECT_EQ(send(WM_NCHITTEST), HTCLIENT);
    make();
    EXPECT_EQ(send(WM_NCHITTEST), 0);
}

} // namespace
