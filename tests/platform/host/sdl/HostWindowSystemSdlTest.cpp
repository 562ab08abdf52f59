#include "engine/platform/host/HostWindowSystemSdl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/host/ClipboardSdl.h"

// Runs under SDL's offscreen video driver: real windows, events pushed into SDL's queue.
namespace {

struct Expected {
    uint32_t message;
    uint64_t wParam;
    int32_t x;
    int32_t y;
    char16_t character;
};

class HostWindowSystemSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.isReady());
        HostWindowDesc desc;
        desc.title = "Velmora";
        desc.x = 40;
        desc.y = 30;
        desc.width = 320;
        desc.height = 240;
        window = host.createWindow(desc);
        ASSERT_NE(window, kNoHostWindow);
        drain();
    }

    void drain() {
        HostMessage message;
        while (host.peekMessage(message)) {
        }
    }

    uint32_t sdlId() const { return SDL_GetWindowID(host.sdlWindow(window)); }

    SDL_Event windowEvent(uint8_t id, int32_t data1 = 0, int32_t data2 = 0) const {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = sdlId();
        event.window.event = id;
        event.window.data1 = data1;
        event.window.data2 = data2;
        return event;
    }

    SDL_Event mouseButton(uint32_t type, uint8_t button, int32_t x, int32_t y) const {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = sdlId();
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    SDL_Event key(uint32_t type, SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod = 0) const {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = sdlId();
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = mod;
        return event;
    }

    SDL_Event text(const char* utf8) const {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = sdlId();
        std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
        return event;
    }

    std::vector<HostMessage> translate(const std::vector<SDL_Event>& events) {
        for (SDL_Event event : events) {
            EXPECT_EQ(SDL_PushEvent(&event), 1);
        }
        std::vector<HostMessage> messages;
        HostMessage message;
        while (host.peekMessage(message)) {
            messages.push_back(message);
        }
        return messages;
    }

    void expectMessages(const std::vector<SDL_Event>& events, const std::vector<Expected>& expected,
                        const std::string& name) {
        const std::vector<HostMessage> messages = translate(events);
        ASSERT_EQ(messages.size(), expected.size()) << name;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(messages[i].window, window) << name << " " << i;
            EXPECT_EQ(messages[i].message, expected[i].message) << name << " " << i;
            EXPECT_EQ(messages[i].wParam, expected[i].wParam) << name << " " << i;
            EXPECT_EQ(messages[i].x, expected[i].x) << name << " " << i;
            EXPECT_EQ(messages[i].y, expected[i].y) << name << " " << i;
            EXPECT_EQ(int(messages[i].character), int(expected[i].character)) << name << " " << i;
        }
    }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
};

TEST_F(HostWindowSystemSdlTest, OpensAnOpenGlWindowWithTitleAndClientSize) {
    SDL_Window* sdl = host.sdlWindow(window);
    ASSERT_NE(sdl, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_OPENGL, 0u);
    HostRect client;
    ASSERT_TRUE(host.getClientRect(window, client));
    EXPECT_EQ(client.width(), 320);
    EXPECT_EQ(client.height(), 240);
    int32_t showCommand = -1;
    ASSERT_TRUE(host.getShowCommand(window, showCommand));
    EXPECT_EQ(showCommand, SW_SHOWNORMAL);

    EXPECT_TRUE(host.setWindowTitle(window, u"Velmora \u00e9t\u00e9"));
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Velmora \xc3\xa9t\xc3\xa9");
}

TEST_F(HostWindowSystemSdlTest, WindowAndMouseEventsBecomeWindowsMessages) {
    HostPoint origin;
    ASSERT_TRUE(host.clientToScreen(window, origin));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = sdlId();
    motion.motion.x = -5; // captured drag left of the window
    motion.motion.y = 7;
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = sdlId();
    wheel.wheel.y = -1;
    wheel.wheel.preciseY = -1.f;
    wheel.wheel.mouseX = 4;
    wheel.wheel.mouseY = 5;

    struct Case {
        const char* name;
        std::vector<SDL_Event> events;
        std::vector<Expected> messages;
    };
    const Case cases[] = {
        {"move", {motion}, {{WM_MOUSEMOVE, 0, -5, 7, 0}}},
        {"left down",
         {mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20)},
         {{WM_LBUTTONDOWN, 0, 10, 20, 0}}},
        {"right up",
         {mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 2)},
         {{WM_RBUTTONUP, 0, 1, 2, 0}}},
        {"middle down",
         {mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 3, 4)},
         {{WM_MBUTTONDOWN, 0, 3, 4, 0}}},
        {"extra button", {mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 3, 4)}, {}},
        {"wheel towards the user",
         {wheel},
         {{WM_MOUSEWHEEL, uint64_t(0xFF88) << 16, origin.x + 4, origin.y + 5, 0}}},
        {"resize",
         {windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480)},
         {{WM_SIZE, SIZE_RESTORED, 0, 0, 0}}},
        {"minimise",
         {windowEvent(SDL_WINDOWEVENT_MINIMIZED)},
         {{WM_SIZE, SIZE_MINIMIZED, 0, 0, 0}}},
        {"restore", {windowEvent(SDL_WINDOWEVENT_RESTORED)}, {{WM_SIZE, SIZE_RESTORED, 0, 0, 0}}},
        {"expose", {windowEvent(SDL_WINDOWEVENT_EXPOSED)}, {{WM_PAINT, 0, 0, 0, 0}}},
        {"focus gained",
         {windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)},
         {{WM_ACTIVATEAPP, 1, 0, 0, 0}, {WM_ACTIVATE, WA_ACTIVE, 0, 0, 0}}},
        {"focus lost",
         {windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)},
         {{WM_ACTIVATE, WA_INACTIVE, 0, 0, 0}, {WM_ACTIVATEAPP, 0, 0, 0, 0}}},
        {"close", {windowEvent(SDL_WINDOWEVENT_CLOSE)}, {{WM_SYSCOMMAND, SC_CLOSE, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        expectMessages(c.events, c.messages, c.name);
    }

    const std::vector<HostMessage> resize =
        translate({windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480)});
    ASSERT_EQ(resize.size(), 1u);
    EXPECT_EQ(loWord(uint64_t(resize[0].lParam)), 640u);
    EXPECT_EQ(hiWord(uint64_t(resize[0].lParam)), 480u);
}

TEST_F(HostWindowSystemSdlTest, KeysCarryTheirCharacterOnKeyDownAndKeyUp) {
    struct Case {
        const char* name;
        SDL_Scancode scancode;
        SDL_Keycode sym;
        uint16_t mod;
        const char* text; // what SDL's text input gives after the key-down, or null
        uint32_t virtualKey;
        char16_t character;
    };
    const Case cases[] = {
        {"letter", SDL_SCANCODE_A, SDLK_a, 0, "a", 'A', u'a'},
        {"shifted letter", SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT, "A", 'A', u'A'},
        {"digit", SDL_SCANCODE_7, SDLK_7, 0, "7", '7', u'7'},
        {"layout letter", SDL_SCANCODE_LEFTBRACKET, 0xFC, 0, "\xc3\xbc", VK_OEM_4, u'\u00fc'},
        {"enter", SDL_SCANCODE_RETURN, SDLK_RETURN, 0, nullptr, VK_RETURN, u'\r'},
        {"backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, nullptr, VK_BACK, u'\b'},
        {"tab", SDL_SCANCODE_TAB, SDLK_TAB, 0, nullptr, VK_TAB, u'\t'},
        {"escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, nullptr, VK_ESCAPE, 0x1B},
        {"control letter", SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL, nullptr, 'C', 0x03},
        {"AltGr", SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_RALT, "@", 'Q', u'@'},
        {"shift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT, nullptr, VK_SHIFT, 0},
        {"arrow", SDL_SCANCODE_LEFT, SDLK_LEFT, 0, nullptr, VK_LEFT, 0},
    };
    for (const Case& c : cases) {
        std::vector<SDL_Event> events{key(SDL_KEYDOWN, c.scancode, c.sym, c.mod)};
        if (c.text) {
            events.push_back(text(c.text));
        }
        events.push_back(key(SDL_KEYUP, c.scancode, c.sym, c.mod));
        expectMessages(events,
                       {{WM_KEYDOWN, c.virtualKey, 0, 0, c.character},
                        {WM_KEYUP, c.virtualKey, 0, 0, c.character}},
                       c.name);
    }
}

TEST_F(HostWindowSystemSdlTest, KeyboardStateFollowsTheKeyMessagesTaken) {
    SDL_Event down = key(SDL_KEYDOWN, SDL_SCANCODE_S, SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
    SDL_PushEvent(&down);
    HostMessage message;
    ASSERT_TRUE(host.peekMessage(message));
    uint8_t state[256];
    host.getKeyboardState(state);
    EXPECT_EQ(state['S'] & 0x80, 0x80);
    EXPECT_EQ(state[VK_CONTROL] & 0x80, 0x80);
    EXPECT_EQ(state[VK_SHIFT] & 0x80, 0x80);

    SDL_Event up = key(SDL_KEYUP, SDL_SCANCODE_S, SDLK_s, 0);
    SDL_PushEvent(&up);
    ASSERT_TRUE(host.peekMessage(message));
    host.getKeyboardState(state);
    EXPECT_EQ(state['S'], 0);
    EXPECT_EQ(state[VK_CONTROL], 0);
}

// Refuses the first close request, then lets the default procedure close the window and ends
// the loop from WM_DESTROY, as the device does.
struct ClosingProcedure : IHostWindowProcedure {
    explicit ClosingProcedure(IHostWindowSystem& host) : host(host) {}

    int64_t windowProc(const HostMessage& message) override {
        seen.push_back(message.message);
        if (message.message == WM_SYSCOMMAND && message.wParam == SC_CLOSE && refuse) {
            refuse = false;
            return 0;
        }
        if (message.message == WM_DESTROY) {
            host.postQuitMessage(0);
            return 0;
        }
        return host.defWindowProc(message);
    }

    IHostWindowSystem& host;
    bool refuse = true;
    std::vector<uint32_t> seen;
};

TEST_F(HostWindowSystemSdlTest, CloseRequestCanBeRefusedElseDestroysAndQuits) {
    ClosingProcedure procedure(host);
    host.setWindowProcedure(window, &procedure);
    SDL_Event close = windowEvent(SDL_WINDOWEVENT_CLOSE);

    auto pumpUntilQuit = [&] {
        HostMessage message;
        while (host.peekMessage(message)) {
            if (message.message == WM_QUIT) {
                return true;
            }
            host.dispatchMessage(message);
        }
        return false;
    };
    SDL_PushEvent(&close);
    EXPECT_FALSE(pumpUntilQuit());
    EXPECT_TRUE(host.isWindow(window));

    procedure.seen.clear();
    SDL_PushEvent(&close);
    EXPECT_TRUE(pumpUntilQuit());
    EXPECT_FALSE(host.isWindow(window));
    EXPECT_EQ(procedure.seen, (std::vector<uint32_t>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

// Another thread (a later start of the program) ends the wait of a minimised game's loop.
TEST_F(HostWindowSystemSdlTest, AWakeFromAnotherThreadEndsTheWaitWithANullMessage) {
    std::thread waker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        host.wakeMessageWait();
    });
    HostMessage message;
    message.message = WM_PAINT;
    EXPECT_TRUE(host.getMessage(message));
    waker.join();
    EXPECT_EQ(message.message, WM_NULL);
    EXPECT_EQ(message.window, kNoHostWindow);
    EXPECT_EQ(host.dispatchMessage(message), 0);
    EXPECT_FALSE(host.peekMessage(message)) << "one wake, one message";
}

TEST_F(HostWindowSystemSdlTest, DisplayModesHaveASize) {
    HostDisplayMode mode;
    ASSERT_TRUE(host.getDesktopDisplayMode(mode));
    EXPECT_GT(mode.width, 0);
    EXPECT_GT(mode.height, 0);
    for (uint32_t i = 0; host.getDisplayMode(i, mode); ++i) {
        EXPECT_GT(mode.width, 0) << i;
        EXPECT_GT(mode.height, 0) << i;
    }
}

TEST_F(HostWindowSystemSdlTest, ClipboardKeepsUtf8Text) {
    CClipboardSdl clipboard;
    clipboard.setText(CString("Gr\xc3\xbc\xc3\x9f"
                              "e"));
    EXPECT_STREQ(clipboard.getText().c_str(), "Gr\xc3\xbc\xc3\x9f"
                                              "e");
}

} // namespace
