#include "engine/io/QcaKeyStream.h"

#include <cstring>

namespace {

constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kMinStreamSize = 4096;

// The data never overlaps the key stream; saying so lets the compiler combine whole vectors
// without checking first.
void combine(uint8_t* __restrict data, const uint8_t* __restrict key, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        data[i] ^= key[i];
    }
}

} // namespace

CQcaKeyStream::CQcaKeyStream(const char* password)
    : m_keyLength(password ? uint32_t(std::strlen(password)) : 0) {
    if (m_keyLength == 0) {
        return;
    }
    const uint32_t copies = (kMinStreamSize + m_keyLength - 1) / m_keyLength;
    m_stream.reallocate(copies * m_keyLength);
    for (uint32_t copy = 0; copy < copies; ++copy) {
        for (uint32_t i = 0; i < m_keyLength; ++i) {
            m_stream.append(uint8_t(password[i]));
        }
    }
}

uint32_t CQcaKeyStream::keyPositionOf(uint32_t filePosition) const {
    if (m_keyLength == 0 || filePosition < kHeaderSize) {
        return 0;
    }
    return (filePosition - kHeaderSize) % m_keyLength;
}

void CQcaKeyStream::apply(uint8_t* data, uint32_t count, uint32_t keyPosition) const {
    if (m_keyLength == 0) {
        return;
    }
    const uint32_t streamSize = m_stream.size();
    uint32_t offset = keyPosition % m_keyLength;
    while (count > 0) {
        const uint32_t run = count < streamSize - offset ? count : streamSize - offset;
        combine(data, m_stream.data() + offset, run);
        data += run;
        count -= run;
        // The stream holds whole copies of the key, so its end is key position 0 again.
        offset = 0;
    }
}
