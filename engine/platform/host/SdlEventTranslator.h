#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/platform/host/HostMessages.h"

// A message with the Shift, Control and Alt state (SDL's KMOD_ bits) of the key event that made
// it, so the keyboard state can follow the messages as they are taken.
struct SdlQueuedMessage {
    HostMessage message;
    uint16_t modifiers = 0;
};

// Turns SDL events into the messages a Windows window would get. Characters come from SDL's
// text input: the one that follows a key-down is attached to it and remembered for the key-up
// of the same key, where the game reads it.
class CSdlEventTranslator {
public:
    // The SDL window id an event belongs to; 0 for events of no window.
    static uint32_t windowIdOf(const SDL_Event& event);
    // The Windows virtual key of a key; 0 for keys without one.
    static uint32_t virtualKeyOf(const SDL_Keysym& key);

    // Appends the messages for the event to `out`; origin is the window's client area in screen
    // pixels. Takes the text-input event that follows a key-down from SDL's queue.
    void translate(const SDL_Event& event, HostWindow window, const HostPoint& origin,
                   CArray<SdlQueuedMessage>& out);

private:
    void translateWindowEvent(const SDL_WindowEvent& event, HostWindow window,
                              CArray<SdlQueuedMessage>& out);
    void translateKey(const SDL_KeyboardEvent& event, HostWindow window,
                      CArray<SdlQueuedMessage>& out);
    char16_t keyDownCharacter(const SDL_KeyboardEvent& event, uint32_t virtualKey);

    // By virtual key: the character of the key's last key-down.
    char16_t m_characters[256] = {};
};
