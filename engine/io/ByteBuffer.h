#pragma once

#include <cstdint>
#include <new>
#include <utility>

// A heap block of bytes for archive readers, freed with the buffer unless handed on with
// detach. Sizes come from archive headers, so allocation failure is an answer, not a crash:
// data() is then null.
class CByteBuffer {
public:
    explicit CByteBuffer(uint32_t count) : m_data(new (std::nothrow) uint8_t[count]) {}
    ~CByteBuffer() { delete[] m_data; }
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;

    uint8_t* data() const { return m_data; }
    // The caller now frees the block with delete[].
    uint8_t* detach() { return std::exchange(m_data, nullptr); }

private:
    uint8_t* m_data;
};
