#pragma once

#include <cstdint>
#include <new>
#include <utility>

// A heap block of bytes for archive readers, freed with the buffer unless handed on with
// detach. Sizes come from archive headers, so allocation failure is an answer, not a crash:
// data() is then null.
class CByteBuffer {
public:
    explicit CByteBuffer(uint32_t count)
        : m_data(new (std::nothrow) uint8_t[count]), m_size(m_data ? count : 0) {}
    ~CByteBuffer() { delete[] m_data; }
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;

    uint8_t* data() const { return m_data; }
    uint32_t size() const { return m_size; }
    // The caller now frees the block with delete[].
    uint8_t* detach() {
        m_size = 0;
        return std::exchange(m_data, nullptr);
    }
    // Keeps the block when it holds count bytes already, else replaces it by one of count
    // bytes (the contents are not kept); false, with no block, when memory runs out.
    bool reserve(uint32_t count) {
        if (m_data && count <= m_size)
            return true;
        delete[] m_data;
        m_data = new (std::nothrow) uint8_t[count];
        m_size = m_data ? count : 0;
        return m_data != nullptr;
    }

private:
    uint8_t* m_data;
    uint32_t m_size;
};
