#pragma once

#include <cstdint>

// Numbers of archive headers, read byte by byte whatever the machine's order and alignment.
inline uint16_t readU16(const uint8_t* bytes) {
    return uint16_t(bytes[0] | bytes[1] << 8);
}

inline uint32_t readU32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}
