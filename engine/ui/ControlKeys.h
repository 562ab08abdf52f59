#pragma once

#include <cstdint>

// The virtual keys the controls and the game's screens answer, as key events carry them.
constexpr uint32_t kKeyBackspace = 8;
constexpr uint32_t kKeyEnter = 13;
constexpr uint32_t kKeyEscape = 27;
constexpr uint32_t kKeyEnd = 35;
constexpr uint32_t kKeyHome = 36;
constexpr uint32_t kKeyLeft = 37;
constexpr uint32_t kKeyUp = 38;
constexpr uint32_t kKeyRight = 39;
constexpr uint32_t kKeyDown = 40;
constexpr uint32_t kKeyDelete = 46;
