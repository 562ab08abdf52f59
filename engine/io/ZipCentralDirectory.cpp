#include "engine/io/ZipCentralDirectory.h"

#include <algorithm>

#include "engine/io/ByteBuffer.h"
#include "engine/io/LittleEndian.h"

namespace {

constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kRecordSignature = 0x02014B50;
constexpr uint32_t kEndSize = 22;
constexpr uint32_t kRecordSize = 46;
constexpr uint32_t kMaxCommentSize = 0xFFFF;

bool readAt(IInputFile* file, uint32_t offset, uint8_t* buffer, uint32_t count) {
    return file->readBytesAt(int32_t(offset), buffer, int32_t(count)) == int32_t(count);
}

} // namespace

bool CZipCentralDirectory::read(IInputFile* file) {
    m_records.clear();
    const uint32_t length = uint32_t(file->getLength());
    if (length < kEndSize) {
        return false;
    }
    const uint32_t tailSize = std::min(length, kEndSize + kMaxCommentSize);
    const uint32_t tailStart = length - tailSize;
    CByteBuffer tail(tailSize);
    if (!tail.data() || !readAt(file, tailStart, tail.data(), tailSize)) {
        return false;
    }
    // The end record is searched from the back: a comment may hold its signature too.
    for (uint32_t at = tailSize - kEndSize + 1; at-- > 0;) {
        const uint8_t* end = tail.data() + at;
        if (readU32(end) != kEndSignature) {
            continue;
        }
        const uint32_t size = readU32(end + 12);
        const uint32_t offset = readU32(end + 16);
        if (uint64_t{offset} + size <= tailStart + at) {
            return readRecords(file, offset, size);
        }
    }
    return false;
}

bool CZipCentralDirectory::readRecords(IInputFile* file, uint32_t offset, uint32_t size) {
    CByteBuffer directory(size);
    if (!directory.data() || !readAt(file, offset, directory.data(), size)) {
        return false;
    }
    for (uint32_t at = 0; at + kRecordSize <= size;) {
        const uint8_t* record = directory.data() + at;
        if (readU32(record) != kRecordSignature) {
            break;
        }
        m_records.append({readU32(record + 42), readU32(record + 20), readU32(record + 24)});
        at += kRecordSize + readU16(record + 28) + readU16(record + 30) + readU16(record + 32);
    }
    std::sort(m_records.begin(), m_records.end(), [](const Record& left, const Record& right) {
        return left.localHeaderOffset < right.localHeaderOffset;
    });
    return true;
}

bool CZipCentralDirectory::findSizes(uint32_t localHeaderOffset, uint32_t& compressedSize,
                                     uint32_t& uncompressedSize) const {
    const Record* found = std::lower_bound(
        m_records.begin(), m_records.end(), localHeaderOffset,
        [](const Record& record, uint32_t offset) { return record.localHeaderOffset < offset; });
    if (found == m_records.end() || found->localHeaderOffset != localHeaderOffset) {
        return false;
    }
    compressedSize = found->compressedSize;
    uncompressedSize = found->uncompressedSize;
    return true;
}
