#include "engine/platform/host/SdlEventTranslator.h"

#include <cmath>

#include "engine/core/Utf.h"

namespace {

struct KeyRange {
    SDL_Scancode first;
    SDL_Scancode last;
    uint32_t virtualKey; // of `first`; the rest follow in order
};

const KeyRange kKeyRanges[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A'},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, '1'},
    {SDL_SCANCODE_0, SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_F1, SDL_SCANCODE_F12, VK_F1},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, VK_NUMPAD0 + 1},
    {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_LCTRL, SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, SDL_SCANCODE_RALT, VK_MENU},
};

// What a Windows keyboard gives for keys that SDL's text input leaves out.
char16_t controlCharacterOf(uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_RETURN:
        return u'\r';
    case VK_BACK:
        return u'\b';
    case VK_TAB:
        return u'\t';
    case VK_ESCAPE:
        return 0x1B;
    default:
        return 0;
    }
}

SdlQueuedMessage makeMessage(HostWindow window, uint32_t message, uint64_t wParam = 0,
                             int64_t lParam = 0) {
    SdlQueuedMessage queued;
    queued.message.window = window;
    queued.message.message = message;
    queued.message.wParam = wParam;
    queued.message.lParam = lParam;
    return queued;
}

uint32_t buttonMessageOf(uint8_t button, bool down) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT:
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE:
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
        return WM_NULL;
    }
}

} // namespace

uint32_t CSdlEventTranslator::windowIdOf(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    default:
        return 0;
    }
}

uint32_t CSdlEventTranslator::virtualKeyOf(const SDL_Keysym& key) {
    // Letters follow the layout, as Windows' virtual keys do; the rest go by position.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
        return uint32_t('A' + (key.sym - SDLK_a));
    }
    for (const KeyRange& range : kKeyRanges) {
        if (key.scancode >= range.first && key.scancode <= range.last) {
            return range.virtualKey + uint32_t(key.scancode - range.first);
        }
    }
    return 0;
}

void CSdlEventTranslator::translate(const SDL_Event& event, HostWindow window,
                                    const HostPoint& origin, CArray<SdlQueuedMessage>& out) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        translateWindowEvent(event.window, window, out);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key, window, out);
        break;
    case SDL_MOUSEMOTION: {
        SdlQueuedMessage move = makeMessage(window, WM_MOUSEMOVE);
        move.message.x = event.motion.x;
        move.message.y = event.motion.y;
        out.append(move);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const uint32_t message =
            buttonMessageOf(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        if (message != WM_NULL) {
            SdlQueuedMessage button = makeMessage(window, message);
            button.message.x = event.button.x;
            button.message.y = event.button.y;
            out.append(button);
        }
        break;
    }
    case SDL_MOUSEWHEEL: {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
            notches = -notches;
        }
        const auto delta = int16_t(std::lround(notches * float(WHEEL_DELTA)));
        SdlQueuedMessage wheel =
            makeMessage(window, WM_MOUSEWHEEL, uint64_t(uint16_t(delta)) << 16);
        wheel.message.x = origin.x + event.wheel.mouseX;
        wheel.message.y = origin.y + event.wheel.mouseY;
        out.append(wheel);
        break;
    }
    default:
        break;
    }
}

void CSdlEventTranslator::translateWindowEvent(const SDL_WindowEvent& event, HostWindow window,
                                               CArray<SdlQueuedMessage>& out) {
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        out.append(makeMessage(window, WM_SIZE, SIZE_RESTORED,
                               makeLParam(uint32_t(event.data1), uint32_t(event.data2))));
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        out.append(makeMessage(window, WM_SIZE, SIZE_MINIMIZED));
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(SDL_GetWindowFromID(event.windowID), &width, &height);
        const uint32_t type =
            event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED;
        out.append(
            makeMessage(window, WM_SIZE, type, makeLParam(uint32_t(width), uint32_t(height))));
        break;
    }
    case SDL_WINDOWEVENT_EXPOSED:
        out.append(makeMessage(window, WM_PAINT));
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.append(makeMessage(window, WM_ACTIVATEAPP, 1));
        out.append(makeMessage(window, WM_ACTIVATE, WA_ACTIVE));
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.append(makeMessage(window, WM_ACTIVATE, WA_INACTIVE));
        out.append(makeMessage(window, WM_ACTIVATEAPP, 0));
        break;
    case SDL_WINDOWEVENT_CLOSE:
        // As the system menu's Close, so the window's owner may refuse it.
        out.append(makeMessage(window, WM_SYSCOMMAND, SC_CLOSE));
        break;
    default:
        break;
    }
}

void CSdlEventTranslator::translateKey(const SDL_KeyboardEvent& event, HostWindow window,
                                       CArray<SdlQueuedMessage>& out) {
    const uint32_t virtualKey = virtualKeyOf(event.keysym);
    const bool down = event.type == SDL_KEYDOWN;
    SdlQueuedMessage key = makeMessage(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey);
    key.modifiers = event.keysym.mod;
    if (down) {
        m_characters[virtualKey] = keyDownCharacter(event, virtualKey);
        key.message.character = m_characters[virtualKey];
    } else {
        key.message.character = m_characters[virtualKey];
        m_characters[virtualKey] = 0;
    }
    out.append(key);
}

char16_t CSdlEventTranslator::keyDownCharacter(const SDL_KeyboardEvent& event,
                                               uint32_t virtualKey) {
    SDL_Event next;
    char16_t text = 0;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
        next.type == SDL_TEXTINPUT) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
        text = utf8ToUtf16(next.text.text)[0];
    }
    // Control with a letter gives the letter's control code; with Alt too it is AltGr, whose
    // character the text input has.
    const bool control = (event.keysym.mod & KMOD_CTRL) != 0 && (event.keysym.mod & KMOD_ALT) == 0;
    if (control && virtualKey >= 'A' && virtualKey <= 'Z') {
        return char16_t(virtualKey - 'A' + 1);
    }
    return text != 0 ? text : controlCharacterOf(virtualKey);
}
