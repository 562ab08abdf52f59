#include "engine/io/VirtualFile.h"

#include <cstring>
#include <new>
#include <type_traits>

#include "engine/core/Logger.h"
#include "engine/io/FilePosition.h"

CVirtualFile::CVirtualFile(const CStringW& name, uint32_t blockSize)
    : m_blockSize(blockSize > 0 ? blockSize : 1), m_name(name) {}

CVirtualFile::~CVirtualFile() {
    for (uint8_t* block : m_blocks) {
        delete[] block;
    }
}

bool CVirtualFile::reserveBeyond(uint32_t end) {
    const uint64_t capacity = uint64_t{m_blockSize} * m_blocks.size();
    if (end < capacity) {
        return true;
    }
    const uint32_t missing = end / m_blockSize - m_blocks.size() + 1;
    for (uint32_t i = 0; i < missing; ++i) {
        uint8_t* block = new (std::nothrow) uint8_t[m_blockSize];
        if (!block) {
            return false;
        }
        m_blocks.append(block);
    }
    return true;
}

template <bool toBlocks, typename Buffer>
void CVirtualFile::copyAtPosition(Buffer* buffer, uint32_t count) {
    auto* bytes = static_cast<std::conditional_t<toBlocks, const uint8_t, uint8_t>*>(buffer);
    uint32_t index = m_position / m_blockSize;
    uint32_t offset = m_position % m_blockSize;
    while (count > 0) {
        const uint32_t room = m_blockSize - offset;
        const uint32_t n = count < room ? count : room;
        if constexpr (toBlocks) {
            std::memcpy(m_blocks[index] + offset, bytes, n);
        } else {
            std::memcpy(bytes, m_blocks[index] + offset, n);
        }
        bytes += n;
        count -= n;
        m_position += n;
        ++index;
        offset = 0;
    }
}

int32_t CVirtualFile::writeBytes(const void* buffer, int32_t count) {
    const int64_t room = kMaxFileSize - m_position;
    if (count <= 0 || room <= 0) {
        return 0;
    }
    const uint32_t n = static_cast<uint32_t>(count < room ? count : room);
    if (!reserveBeyond(m_position + n)) {
        CLogger::instance()->log(u"Not enough memory for write data in virtualFile " + m_name,
                                 CLogger::LevelError);
        return 0;
    }
    copyAtPosition<true>(buffer, n);
    if (m_position > m_size) {
        m_size = m_position;
    }
    return static_cast<int32_t>(n);
}

int32_t CVirtualFile::readBytes(void* buffer, int32_t count) {
    const uint32_t left = m_size - m_position;
    if (count <= 0 || left == 0) {
        return 0;
    }
    const uint32_t n = static_cast<uint32_t>(count) < left ? static_cast<uint32_t>(count) : left;
    copyAtPosition<false>(buffer, n);
    return static_cast<int32_t>(n);
}

bool CVirtualFile::seekTo(int32_t position, bool relative) {
    const int64_t target = seekTarget(static_cast<int32_t>(m_position), position, relative);
    if (target < 0 || target > m_size) {
        return false;
    }
    m_position = static_cast<uint32_t>(target);
    return true;
}
