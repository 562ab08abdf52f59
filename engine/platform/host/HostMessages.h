#pragma once

#include <cstdint>

// The window layer's messages. The numbers are the ones Windows uses, so the window procedure
// reads as it would on Windows; only the names the engine uses are listed.

// A window of the layer: a small id in the layer's own table; 0 is no window.
using HostWindow = uint32_t;
constexpr HostWindow kNoHostWindow = 0;

// A cursor image made by the layer; 0 is the system arrow.
using HostCursor = uint32_t;
constexpr HostCursor kSystemArrowCursor = 0;

// Messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_NCHITTEST = 0x0084;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

// WM_SIZE: wParam.
constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;
constexpr uint32_t SIZE_MAXHIDE = 4;

// WM_ACTIVATE: low word of wParam; the high word is 1 while the window is minimised.
constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;
constexpr uint32_t WA_CLICKACTIVE = 2;

// WM_NCHITTEST result.
constexpr int64_t HTCLIENT = 1;

// WM_SYSCOMMAND: wParam with its low four bits cleared.
constexpr uint32_t SC_SIZE = 0xF000;
constexpr uint32_t SC_MOVE = 0xF010;
constexpr uint32_t SC_MAXIMIZE = 0xF030;
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_KEYMENU = 0xF100;
constexpr uint32_t SC_RESTORE = 0xF120;
constexpr uint32_t SC_SCREENSAVE = 0xF140;
constexpr uint32_t SC_MONITORPOWER = 0xF170;

// WM_MOUSEWHEEL: one notch of the wheel in the signed high word of wParam.
constexpr int32_t WHEEL_DELTA = 120;

// Show commands, for showWindow and the window placement.
constexpr int32_t SW_HIDE = 0;
constexpr int32_t SW_SHOWNORMAL = 1;
constexpr int32_t SW_SHOWMINIMIZED = 2;
constexpr int32_t SW_SHOWMAXIMIZED = 3;
constexpr int32_t SW_SHOW = 5;
constexpr int32_t SW_MINIMIZE = 6;
constexpr int32_t SW_RESTORE = 9;

// Results of changeDisplayMode.
constexpr int32_t DISP_CHANGE_SUCCESSFUL = 0;
constexpr int32_t DISP_CHANGE_RESTART = 1;
constexpr int32_t DISP_CHANGE_FAILED = -1;
constexpr int32_t DISP_CHANGE_BADMODE = -2;
constexpr int32_t DISP_CHANGE_BADFLAGS = -4;
constexpr int32_t DISP_CHANGE_BADPARAM = -5;

// Virtual keys. Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_CAPITAL = 0x14;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_SNAPSHOT = 0x2C;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_MULTIPLY = 0x6A;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_DIVIDE = 0x6F;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_NUMLOCK = 0x90;
constexpr uint32_t VK_SCROLL = 0x91;
constexpr uint32_t VK_OEM_1 = 0xBA;
constexpr uint32_t VK_OEM_PLUS = 0xBB;
constexpr uint32_t VK_OEM_COMMA = 0xBC;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_PERIOD = 0xBE;
constexpr uint32_t VK_OEM_2 = 0xBF;
constexpr uint32_t VK_OEM_3 = 0xC0;
constexpr uint32_t VK_OEM_4 = 0xDB;
constexpr uint32_t VK_OEM_5 = 0xDC;
constexpr uint32_t VK_OEM_6 = 0xDD;
constexpr uint32_t VK_OEM_7 = 0xDE;
constexpr uint32_t VK_OEM_102 = 0xE2;

// One message. wParam and lParam carry what Windows puts there for the message (WM_SIZE:
// wParam the size type, lParam the client width in the low and the height in the high word;
// WM_ACTIVATE, WM_ACTIVATEAPP, WM_SYSCOMMAND, WM_KEYDOWN / WM_KEYUP: wParam the activation
// state, the flag, the command, the virtual key; WM_MOUSEWHEEL: wParam the signed delta in
// its high word). Pointer positions are in x and y, signed, so a drag held past the window's
// left or top edge reads negative.
struct HostMessage {
    HostWindow window = kNoHostWindow;
    uint32_t message = WM_NULL;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    // Mouse buttons and moves: client pixels. WM_MOUSEWHEEL: screen pixels, as on Windows.
    int32_t x = 0;
    int32_t y = 0;
    // WM_KEYDOWN and WM_KEYUP: the UTF-16 unit the key gives (the key-up repeats the one of its
    // key-down), 0 when it gives none.
    char16_t character = 0;
};

constexpr uint32_t loWord(uint64_t value) {
    return uint32_t(value & 0xFFFF);
}
constexpr uint32_t hiWord(uint64_t value) {
    return uint32_t((value >> 16) & 0xFFFF);
}
constexpr int64_t makeLParam(uint32_t low, uint32_t high) {
    return int64_t((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

struct HostPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Screen or client pixels; right and bottom lie just outside.
struct HostRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

struct HostDisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    // 0 takes whatever rate the display offers for the size.
    int32_t frequency = 0;
};

// One 16-bit ramp of 256 entries per channel.
struct HostGammaRamp {
    uint16_t red[256] = {};
    uint16_t green[256] = {};
    uint16_t blue[256] = {};
};
