#include "engine/io/FileSlice.h"

#include "engine/io/FilePosition.h"

namespace {

int64_t clamp(int64_t value, int64_t low, int64_t high) {
    return value < low ? low : value > high ? high : value;
}

} // namespace

CFileSlice::CFileSlice(const CStringW& name, IInputFile* source, int32_t offset, int32_t size)
    : m_name(name), m_source(CRefPointer<IInputFile>::share(source)) {
    if (!source) {
        return;
    }
    const int64_t length = source->getLength();
    m_start = static_cast<int32_t>(clamp(offset, 0, length));
    m_end = static_cast<int32_t>(m_start + clamp(size, 0, length - m_start));
}

int32_t CFileSlice::readBytes(void* buffer, int32_t count) {
    const int32_t got = readBytesAt(m_position, buffer, count);
    m_position += got;
    return got;
}

int32_t CFileSlice::readBytesAt(int32_t position, void* buffer, int32_t count) {
    if (!m_source || count <= 0 || position < 0) {
        return 0;
    }
    const int64_t absolute = int64_t{m_start} + position;
    const int64_t n = clamp(absolute + count, absolute, m_end) - absolute;
    if (n <= 0) {
        return 0;
    }
    const int32_t got =
        m_source->readBytesAt(static_cast<int32_t>(absolute), buffer, static_cast<int32_t>(n));
    return got > 0 ? got : 0;
}

bool CFileSlice::seekTo(int32_t position, bool relative) {
    const int64_t target = seekTarget(m_position, position, relative);
    m_position = static_cast<int32_t>(clamp(target, 0, m_end - m_start));
    return true;
}

CRefPointer<IInputFile> createFileSlice(const CStringW& name, IInputFile* source, int32_t offset,
                                        int32_t size) {
    return CRefPointer<IInputFile>(new CFileSlice(name, source, offset, size));
}
