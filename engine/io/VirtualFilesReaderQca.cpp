#include "engine/io/VirtualFilesReaderQca.h"

#include "engine/core/Logger.h"
#include "engine/io/ByteBuffer.h"
#include "engine/io/LittleEndian.h"
#include "engine/io/MemoryBlockFile.h"

namespace {

constexpr uint32_t kMagic = 0x00414351;
constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kMaxNameLength = 0xFFFF;

} // namespace

CVirtualFilesReaderQca::CVirtualFilesReaderQca(IInputFile* file, const char* password)
    : CSortedArchiveReader(file), m_key(password) {
    if (!file) {
        return;
    }
    if (!readDirectory()) {
        m_entries.clear();
        CLogger::instance()->log(u"Damaged packed archive or wrong password: " + archivePath(),
                                 CLogger::LevelError);
        return;
    }
    sortEntries();
}

bool CVirtualFilesReaderQca::readDirectory() {
    uint8_t header[kHeaderSize];
    if (!m_file->seekTo(0, false) || m_file->readBytes(header, kHeaderSize) != kHeaderSize ||
        readU32(header) != kMagic) {
        return false;
    }
    const uint32_t directoryOffset = readU32(header + 4);
    const uint32_t count = readU32(header + 8);
    if (directoryOffset < kHeaderSize || directoryOffset > m_fileLength ||
        !m_file->seekTo(int32_t(directoryOffset), false)) {
        return false;
    }
    uint32_t keyPosition = m_key.keyPositionOf(directoryOffset);
    CByteBuffer record(kMaxNameLength + 8);
    if (!record.data()) {
        return false;
    }
    CStringW name;
    for (uint32_t i = 0; i < count; ++i) {
        if (!readRecord(record.data(), name, keyPosition)) {
            return false;
        }
    }
    return true;
}

bool CVirtualFilesReaderQca::readScrambled(uint8_t* buffer, uint32_t count, uint32_t& keyPosition) {
    if (m_file->readBytes(buffer, int32_t(count)) != int32_t(count)) {
        return false;
    }
    m_key.apply(buffer, count, keyPosition);
    if (m_key.keyLength() != 0) {
        keyPosition = uint32_t((uint64_t{keyPosition} + count) % m_key.keyLength());
    }
    return true;
}

bool CVirtualFilesReaderQca::readRecord(uint8_t* bytes, CStringW& name, uint32_t& keyPosition) {
    if (!readScrambled(bytes, 2, keyPosition)) {
        return false;
    }
    const uint32_t nameLength = readU16(bytes);
    if (!readScrambled(bytes, nameLength + 8, keyPosition)) {
        return false;
    }
    QcaEntry entry;
    entry.dataOffset = readU32(bytes + nameLength);
    entry.dataSize = readU32(bytes + nameLength + 4);
    if (entry.dataOffset < kHeaderSize) {
        return false;
    }
    if (name.allocated() < nameLength + 1) {
        name.reallocate(nameLength + 1);
    }
    char16_t* units = name.data();
    for (uint32_t i = 0; i < nameLength; ++i) {
        units[i] = char16_t(bytes[i]);
    }
    units[nameLength] = 0;
    entry.name = CStringW(units);
    m_entries.append(std::move(entry));
    return true;
}

CRefPointer<IInputFile> CVirtualFilesReaderQca::openEntryAt(uint32_t index) {
    if (index >= m_entries.size()) {
        return nullptr;
    }
    const QcaEntry& entry = m_entries[index];
    if (entry.dataSize == 0) {
        return CRefPointer<IInputFile>(new CMemoryBlockFile(nullptr, 0, entry.name, false));
    }
    // Checked before anything is allocated: the directory may promise more than the file holds.
    if (uint64_t{entry.dataOffset} + entry.dataSize > m_fileLength) {
        return failEntry(entry);
    }
    CByteBuffer data(entry.dataSize);
    if (!data.data() || !m_file->seekTo(int32_t(entry.dataOffset), false) ||
        m_file->readBytes(data.data(), int32_t(entry.dataSize)) != int32_t(entry.dataSize)) {
        return failEntry(entry);
    }
    m_key.apply(data.data(), entry.dataSize, m_key.keyPositionOf(entry.dataOffset));
    return CRefPointer<IInputFile>(
        new CMemoryBlockFile(data.detach(), int32_t(entry.dataSize), entry.name, true));
}

CRefPointer<IInputFile> CVirtualFilesReaderQca::failEntry(const QcaEntry& entry) {
    CLogger::instance()->log(u"Packed archive entry could not be read: " + entry.name,
                             CLogger::LevelError);
    return nullptr;
}
