#pragma once

#include <cstdint>

#include "engine/core/Array.h"

// The scrambling of packed archives: every byte at file position p >= 16 is combined by
// exclusive-or with password byte (p - 16) mod L. Applying it twice gives the bytes back.
class CQcaKeyStream {
public:
    // 8-bit text or null; an empty password leaves every byte as it is.
    explicit CQcaKeyStream(const char* password);

    // The password's length L.
    uint32_t keyLength() const { return m_keyLength; }
    // The key position of a file position at or after the 16-byte header.
    uint32_t keyPositionOf(uint32_t filePosition) const;
    // Scrambles or unscrambles count bytes, the first of which uses the key at keyPosition.
    void apply(uint8_t* data, uint32_t count, uint32_t keyPosition) const;

private:
    // The password repeated a whole number of times to at least 4 KiB, so that long runs of
    // bytes are combined without wrapping the key at every byte.
    CArray<uint8_t> m_stream;
    uint32_t m_keyLength = 0;
};
