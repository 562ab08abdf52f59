#include "support/FakeHostWindowSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HostMessage makeMessage(uint32_t id, uint64_t wParam = 0) {
    HostMessage message;
    message.message = id;
    message.wParam = wParam;
    return message;
}

std::vector<std::string> calls(const FakeHostWindowSystem& host) {
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < host.calls().size(); ++i) {
        lines.emplace_back(host.calls()[i].c_str());
    }
    return lines;
}

TEST(FakeHostWindowSystemTest, QueueHandsOutScriptedMessagesInOrder) {
    FakeHostWindowSystem host;
    host.postMessage(makeMessage(WM_PAINT));
    host.postQuitMessage(3);
    host.postMessage(makeMessage(WM_KEYDOWN, 'A'));

    HostMessage message;
    ASSERT_TRUE(host.peekMessage(message));
    EXPECT_EQ(message.message, WM_PAINT);
    ASSERT_TRUE(host.getMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);
    ASSERT_TRUE(host.peekMessage(message));
    EXPECT_EQ(message.wParam, uint64_t('A'));
    EXPECT_FALSE(host.peekMessage(message));
    EXPECT_FALSE(host.getMessage(message));
    EXPECT_EQ(calls(host),
              (std::vector<std::string>{"postQuitMessage 3", "peekMessage", "getMessage",
                                        "peekMessage", "peekMessage", "getMessage"}));
}

TEST(FakeHostWindowSystemTest, WindowedFrameSurroundsTheClientArea) {
    struct Case {
        bool fullScreen;
        HostRect windowRect;
        HostPoint clientOrigin;
    };
    const Case cases[] = {
        {false, {100, 50, 100 + 806, 50 + 625}, {103, 72}},
        {true, {100, 50, 100 + 800, 50 + 600}, {100, 50}},
    };
    for (const Case& c : cases) {
        FakeHostWindowSystem host;
        HostWindowDesc desc;
        desc.x = 100;
        desc.y = 50;
        desc.width = 800;
        desc.height = 600;
        desc.fullScreen = c.fullScreen;
        const HostWindow window = host.createWindow(desc);

        HostRect rect;
        ASSERT_TRUE(host.getWindowRect(window, rect));
        EXPECT_EQ(rect.left, c.windowRect.left) << c.fullScreen;
        EXPECT_EQ(rect.bottom, c.windowRect.bottom) << c.fullScreen;
        EXPECT_EQ(rect.right, c.windowRect.right) << c.fullScreen;
        ASSERT_TRUE(host.getClientRect(window, rect));
        EXPECT_EQ(rect.width(), 800) << c.fullScreen;
        EXPECT_EQ(rect.height(), 600) << c.fullScreen;
        HostPoint origin;
        ASSERT_TRUE(host.clientToScreen(window, origin));
        EXPECT_EQ(origin.x, c.clientOrigin.x) << c.fullScreen;
        EXPECT_EQ(origin.y, c.clientOrigin.y) << c.fullScreen;
    }
}

TEST(FakeHostWindowSystemTest, ProgrammedFailuresAreReportedAndLogged) {
    FakeHostWindowSystem host;
    host.failures.createWindow = true;
    EXPECT_EQ(host.createWindow(HostWindowDesc()), kNoHostWindow);
    EXPECT_EQ(host.countCalls("createWindow 0x0 windowed"), 1u);

    host.failures.createWindow = false;
    const HostWindow window = host.createWindow(HostWindowDesc());
    host.failures.showCommand = true;
    int32_t showCommand = -1;
    EXPECT_FALSE(host.getShowCommand(window, showCommand));

    host.failures.changeDisplayMode = DISP_CHANGE_BADMODE;
    const HostDisplayMode mode{1024, 768, 32, 60};
    EXPECT_EQ(host.changeDisplayMode(&mode), DISP_CHANGE_BADMODE);
    EXPECT_EQ(host.currentMode.width, host.desktopMode.width);
    EXPECT_EQ(host.changeDisplayMode(nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_GE(host.findCall("changeDisplayMode desktop"),
              host.findCall("changeDisplayMode 1024x768x32@60"));

    host.failures.gammaRamp = true;
    HostGammaRamp ramp;
    EXPECT_FALSE(host.setGammaRamp(window, ramp));
    EXPECT_FALSE(host.getGammaRamp(window, ramp));
}

TEST(FakeHostWindowSystemTest, CursorImagesKeepPixelsAndHotSpot) {
    FakeHostWindowSystem host;
    const uint32_t pixels[] = {0xFF000000, 0x00FFFFFF, 0x80FF0000, 0xFF00FF00};
    const HostCursor cursor = host.createCursor(pixels, 2, 2, 1, 0);
    ASSERT_NE(cursor, kSystemArrowCursor);
    ASSERT_NE(host.cursor(cursor), nullptr);
    EXPECT_EQ(host.cursor(cursor)->hotSpot.x, 1);
    EXPECT_EQ(host.cursor(cursor)->pixels[2], 0x80FF0000u);

    host.failures.createCursor = true;
    EXPECT_EQ(host.createCursor(pixels, 2, 2, 0, 0), kSystemArrowCursor);
    EXPECT_EQ(host.showCursor(false), -1);
    EXPECT_EQ(host.showCursor(true), 0);
}

} // namespace
