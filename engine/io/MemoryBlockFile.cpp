#include "engine/io/MemoryBlockFile.h"

#include <cstring>

#include "engine/io/FilePosition.h"

CMemoryBlockFile::CMemoryBlockFile(uint8_t* data, int32_t size, const CStringW& name,
                                   bool deleteWhenDropped)
    : m_data(data), m_size(data && size > 0 ? size : 0), m_name(name),
      m_deleteWhenDropped(deleteWhenDropped) {}

CMemoryBlockFile::~CMemoryBlockFile() {
    if (m_deleteWhenDropped) {
        delete[] m_data;
    }
}

int32_t CMemoryBlockFile::clip(int32_t count) const {
    const int32_t left = m_size - m_position;
    return count < left ? count : left;
}

int32_t CMemoryBlockFile::readBytes(void* buffer, int32_t count) {
    const int32_t n = clip(count);
    if (n <= 0) {
        return 0;
    }
    std::memcpy(buffer, m_data + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

int32_t CMemoryBlockFile::readBytesAt(int32_t position, void* buffer, int32_t count) {
    if (position < 0 || position >= m_size || count <= 0) {
        return 0;
    }
    const int32_t n = count < m_size - position ? count : m_size - position;
    std::memcpy(buffer, m_data + position, static_cast<size_t>(n));
    return n;
}

int32_t CMemoryBlockFile::writeBytes(const void* buffer, int32_t count) {
    const int32_t n = clip(count);
    if (n <= 0) {
        return 0;
    }
    std::memcpy(m_data + m_position, buffer, static_cast<size_t>(n));
    m_position += n;
    return n;
}

bool CMemoryBlockFile::seekTo(int32_t position, bool relative) {
    const int64_t target = seekTarget(m_position, position, relative);
    if (target < 0 || target > m_size) {
        return false;
    }
    m_position = static_cast<int32_t>(target);
    return true;
}
