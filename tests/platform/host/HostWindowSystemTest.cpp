#include "engine/platform/host/HostWindowSystem.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/FakeHostWindowSystem.h"

namespace {

// Records what reaches it and leaves the rest to the default procedure.
struct RecordingProcedure : IHostWindowProcedure {
    explicit RecordingProcedure(IHostWindowSystem& host) : host(host) {}

    int64_t windowProc(const HostMessage& message) override {
        messages.push_back(message.message);
        if (message.message == WM_DESTROY) {
            aliveDuringDestroy = host.isWindow(message.window);
            host.destroyWindow(message.window);
        }
        return host.defWindowProc(message);
    }

    IHostWindowSystem& host;
    std::vector<uint32_t> messages;
    bool aliveDuringDestroy = false;
};

HostMessage makeMessage(HostWindow window, uint32_t id, uint64_t wParam = 0) {
    HostMessage message;
    message.window = window;
    message.message = id;
    message.wParam = wParam;
    return message;
}

HostWindow openWindow(IHostWindowSystem& host) {
    HostWindowDesc desc;
    desc.width = 640;
    desc.height = 480;
    return host.createWindow(desc);
}

TEST(HostWindowSystemTest, DefaultProcedureClosesOnlyForCloseCommands) {
    struct Case {
        uint32_t message;
        uint64_t wParam;
        bool closes;
        std::vector<uint32_t> reached;
    };
    const Case cases[] = {
        {WM_SYSCOMMAND, SC_CLOSE, true, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}},
        // The low four bits of a system command are the system's own.
        {WM_SYSCOMMAND, SC_CLOSE | 0x3, true, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}},
        {WM_CLOSE, 0, true, {WM_CLOSE, WM_DESTROY}},
        {WM_SYSCOMMAND, SC_MOVE, false, {WM_SYSCOMMAND}},
        {WM_SYSCOMMAND, SC_KEYMENU, false, {WM_SYSCOMMAND}},
        {WM_SIZE, SIZE_MINIMIZED, false, {WM_SIZE}},
        {WM_KEYDOWN, 'A', false, {WM_KEYDOWN}},
    };
    for (const Case& c : cases) {
        FakeHostWindowSystem host;
        RecordingProcedure procedure(host);
        const HostWindow window = openWindow(host);
        host.setWindowProcedure(window, &procedure);

        EXPECT_EQ(host.dispatchMessage(makeMessage(window, c.message, c.wParam)), 0)
            << c.message << " " << c.wParam;
        EXPECT_EQ(!host.isWindow(window), c.closes) << c.message << " " << c.wParam;
        EXPECT_EQ(procedure.messages, c.reached) << c.message << " " << c.wParam;
    }
}

TEST(HostWindowSystemTest, DestroyDeliversOneDestroyWhileTheWindowStillExists) {
    FakeHostWindowSystem host;
    RecordingProcedure procedure(host);
    const HostWindow window = openWindow(host);
    host.setWindowProcedure(window, &procedure);

    host.destroyWindow(window);
    host.destroyWindow(window);

    EXPECT_TRUE(procedure.aliveDuringDestroy);
    EXPECT_EQ(procedure.messages, std::vector<uint32_t>{WM_DESTROY});
    EXPECT_FALSE(host.isWindow(window));
    EXPECT_EQ(host.countCalls("destroyWindow 1"), 1u);
}

TEST(HostWindowSystemTest, HandlesAreNeverReusedAndStaleOnesReachNothing) {
    FakeHostWindowSystem host;
    RecordingProcedure procedure(host);
    const HostWindow first = openWindow(host);
    host.setWindowProcedure(first, &procedure);
    host.destroyWindow(first);
    procedure.messages.clear();

    const HostWindow second = openWindow(host);
    EXPECT_NE(second, first);
    EXPECT_NE(second, kNoHostWindow);
    EXPECT_EQ(host.sendMessage(makeMessage(first, WM_CLOSE)), 0);
    EXPECT_TRUE(procedure.messages.empty());
    EXPECT_TRUE(host.isWindow(second));
    EXPECT_FALSE(host.isWindow(kNoHostWindow));
}

TEST(HostWindowSystemTest, WindowWithoutProcedureGetsTheDefaultOne) {
    FakeHostWindowSystem host;
    const HostWindow window = openWindow(host);
    host.sendMessage(makeMessage(window, WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_FALSE(host.isWindow(window));
}

// A device may be gone before the layer, so tearing the layer down calls no procedure.
TEST(HostWindowSystemTest, TeardownDoesNotCallProcedures) {
    struct CountingProcedure : IHostWindowProcedure {
        int64_t windowProc(const HostMessage&) override {
            ++calls;
            return 0;
        }
        int calls = 0;
    } procedure;
    {
        FakeHostWindowSystem host;
        host.setWindowProcedure(openWindow(host), &procedure);
    }
    EXPECT_EQ(procedure.calls, 0);
}

} // namespace
