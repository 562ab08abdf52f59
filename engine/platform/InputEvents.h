#pragma once

#include <cstdint>

#include "engine/core/Event.h"

// Mouse and keyboard input. Positions are client pixels of the game window and may be negative
// (a drag captured past the window's left or top edge).

class CEventInputMousePosition : public CEventInputMouse {
public:
    CEventInputMousePosition(int32_t x, int32_t y) : m_x(x), m_y(y) {}

    int32_t getX() const { return m_x; }
    int32_t getY() const { return m_y; }

private:
    int32_t m_x;
    int32_t m_y;
};

class CEventInputMouseMove : public CEventType<23, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseLeftDown : public CEventType<24, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseRightDown : public CEventType<25, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseMiddleDown : public CEventType<26, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseLeftUp : public CEventType<27, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseRightUp : public CEventType<28, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

class CEventInputMouseMiddleUp : public CEventType<29, CEventInputMousePosition> {
public:
    using CEventType::CEventType;
};

// The delta is in notches, negative towards the user.
class CEventInputMouseWheel : public CEventType<33, CEventInputMousePosition> {
public:
    CEventInputMouseWheel(int32_t x, int32_t y, float delta) : CEventType(x, y), m_delta(delta) {}

    float getDelta() const { return m_delta; }

private:
    float m_delta;
};

// The character is the UTF-16 unit the key gives under the keyboard layout, 0 when it gives
// none; shift and control tell whether those keys were held.
class CEventInputKeyboard : public CEventInputKey {
public:
    CEventInputKeyboard(char16_t character, uint32_t virtualKey, bool shift, bool control)
        : m_character(character), m_virtualKey(virtualKey), m_shift(shift), m_control(control) {}

    char16_t getCharacter() const { return m_character; }
    uint32_t getVirtualKey() const { return m_virtualKey; }
    bool isShiftDown() const { return m_shift; }
    bool isControlDown() const { return m_control; }

private:
    char16_t m_character;
    uint32_t m_virtualKey;
    bool m_shift;
    bool m_control;
};

class CEventInputKeyDown : public CEventType<34, CEventInputKeyboard> {
public:
    using CEventType::CEventType;
};

class CEventInputKeyUp : public CEventType<35, CEventInputKeyboard> {
public:
    using CEventType::CEventType;
};
