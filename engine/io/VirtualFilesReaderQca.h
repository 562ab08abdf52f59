#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IVirtualFilesReader.h"
#include "engine/io/QcaKeyStream.h"
#include "engine/io/SortedArchiveReader.h"

// An entry of a packed archive. Its name is the stored bytes, each widened without sign
// (0xE9 becomes 0x00E9).
struct QcaEntry : VirtualFileEntry {
    uint32_t dataOffset = 0;
    uint32_t dataSize = 0;
};

// The engine's packed archive ("qca"): a 16-byte plain header (magic "QCA\0", directory
// offset, entry count, reserved), then the entries' data and the directory, both scrambled
// with the password given at mounting. A directory record is a u16 name length, the name,
// the u32 data offset and the u32 data size, all little-endian.
class CVirtualFilesReaderQca : public CSortedArchiveReader<QcaEntry> {
public:
    // Takes a reference to file. A wrong magic, a wrong password or a damaged directory gives
    // a reader without entries and a log line. An entry whose data lies past the end of the
    // file is listed all the same; only opening it fails.
    CVirtualFilesReaderQca(IInputFile* file, const char* password);

    CStringW archiveKind() const override { return CStringW(u"qca"); }
    // Reads and unscrambles the entry anew on every call; an entry of size 0 opens empty. None,
    // with a log line, when the data cannot be read whole.
    CRefPointer<IInputFile> openEntryAt(uint32_t index) override;

protected:
    ~CVirtualFilesReaderQca() override = default;

private:
    // Every record must lie in the file and point at data after the header; anything else
    // means a damaged archive or a wrong password.
    bool readDirectory();
    // Reads one record through the scratch buffers bytes (64 KiB + 8) and name.
    bool readRecord(uint8_t* bytes, CStringW& name, uint32_t& keyPosition);
    bool readScrambled(uint8_t* buffer, uint32_t count, uint32_t& keyPosition);
    // Logs that the entry cannot be read; none.
    static CRefPointer<IInputFile> failEntry(const QcaEntry& entry);

    CQcaKeyStream m_key;
};
