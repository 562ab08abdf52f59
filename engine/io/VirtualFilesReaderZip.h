#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/ByteBuffer.h"
#include "engine/io/IVirtualFilesReader.h"
#include "engine/io/SortedArchiveReader.h"
#include "engine/io/ZipCentralDirectory.h"

// The fixed part of a zip local file header, as read.
struct ZipLocalHeader {
    uint32_t signature;
    uint16_t versionNeeded;
    uint16_t flags;
    uint16_t method;
    uint16_t modificationTime;
    uint16_t modificationDate;
    uint32_t crc32;
    uint32_t compressedSize;
    uint32_t uncompressedSize;
    uint16_t nameLength;
    uint16_t extraLength;
};

// An entry of a zip archive. Its name is the stored bytes, each widened with its sign as
// CStringW widens 8-bit text (0xE9 becomes 0xFFE9); no code page is applied.
struct ZipEntry : VirtualFileEntry {
    // The name up to and including its last '/'; empty when it has none.
    CStringW folderPart;
    uint32_t dataOffset = 0;
    ZipLocalHeader header = {};
};

struct libdeflate_decompressor;

// A zip archive read through its local headers, from the file's position at construction to
// the first place that holds no header. Stored entries are read in place, deflated ones are
// inflated into memory on every open. Entries that keep their sizes in a data descriptor take
// them from the central directory. Entries are opened on one thread at a time; what they read
// of the archive file, they read by position, so stored entries may be read on other threads.
class CVirtualFilesReaderZip : public CSortedArchiveReader<ZipEntry> {
public:
    // Takes a reference to file; a file without a valid header gives a reader without entries.
    explicit CVirtualFilesReaderZip(IInputFile* file);

    CStringW archiveKind() const override { return CStringW(u"zip"); }
    // Null, with a log line, for encrypted entries, unsupported methods, data past the end of
    // the archive and deflate data that does not give exactly the stated size.
    CRefPointer<IInputFile> openEntryAt(uint32_t index) override;

protected:
    ~CVirtualFilesReaderZip() override;

private:
    // Reads the header at position into an appended entry and moves position to the next one;
    // false when there is no complete header there.
    bool readLocalHeader(uint32_t& position);
    // Replaces the header's sizes by those of the central directory; false when it has none.
    bool takeSizesFromDirectory(uint32_t headerOffset, ZipLocalHeader& header);
    // The position after the data descriptor that follows an entry's data.
    uint64_t skipDataDescriptor(uint64_t dataEnd);
    bool readAt(uint32_t position, void* buffer, uint32_t count);
    CRefPointer<IInputFile> inflateEntry(const ZipEntry& entry);
    // Reads the packed bytes and inflates them into output, which the answer then owns.
    CRefPointer<IInputFile> inflateInto(const ZipEntry& entry, CByteBuffer& output);
    void logEntryError(const char16_t* message, const ZipEntry& entry) const;

    // Read when the first entry needs it.
    CZipCentralDirectory m_directory;
    enum class DirectoryState { Unread, Read, Missing } m_directoryState = DirectoryState::Unread;
    // Scratch space for names while the headers are read.
    CString m_nameBytes;
    // Made when the first entry is inflated; the packed bytes of entries read before inflating.
    libdeflate_decompressor* m_decompressor = nullptr;
    CByteBuffer m_packed;
};
