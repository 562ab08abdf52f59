#include "engine/io/VirtualFilesReaderZip.h"

#include <climits>
#include <cstring>
#include <libdeflate.h>
#include <zlib.h>

#include "engine/core/Logger.h"
#include "engine/io/ByteBuffer.h"
#include "engine/io/FileSlice.h"
#include "engine/io/LittleEndian.h"
#include "engine/io/MemoryBlockFile.h"

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kDescriptorSignature = 0x08074B50;
constexpr uint32_t kHeaderSize = 30;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
// Deflate cannot expand data more than 1032 times; a larger stated size is damage, and
// allocating it would let a tiny archive ask for gigabytes.
constexpr uint64_t kMaxDeflateRatio = 1032;
// A header is read with this many bytes of its name in the same read: names are short.
constexpr uint32_t kNameBytesWithHeader = 226;
// The packed bytes of entries up to this size share one buffer for the reader's life.
constexpr uint32_t kMaxKeptPackedSize = 1u << 20;

ZipLocalHeader parseHeader(const uint8_t* bytes) {
    ZipLocalHeader header;
    header.signature = readU32(bytes);
    header.versionNeeded = readU16(bytes + 4);
    header.flags = readU16(bytes + 6);
    header.method = readU16(bytes + 8);
    header.modificationTime = readU16(bytes + 10);
    header.modificationDate = readU16(bytes + 12);
    header.crc32 = readU32(bytes + 14);
    header.compressedSize = readU32(bytes + 18);
    header.uncompressedSize = readU32(bytes + 22);
    header.nameLength = readU16(bytes + 26);
    header.extraLength = readU16(bytes + 28);
    return header;
}

// Why zlib's one-call inflation does not give exactly size bytes; null when it does. Only
// failures ask, as libdeflate names fewer reasons.
const char16_t* inflateFailure(const uint8_t* packed, uint32_t packedSize, uint8_t* output,
                               uint32_t size) {
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return u"not enough memory";
    }
    stream.next_in = const_cast<uint8_t*>(packed);
    stream.avail_in = packedSize;
    stream.next_out = output;
    stream.avail_out = size;
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    switch (result) {
    case Z_STREAM_END:
        return stream.total_out == size ? nullptr : u"shorter than its stated size";
    case Z_DATA_ERROR:
        return u"damaged data";
    case Z_MEM_ERROR:
        return u"not enough memory";
    default:
        return stream.avail_out == 0 ? u"longer than its stated size" : u"data ends early";
    }
}

} // namespace

CVirtualFilesReaderZip::CVirtualFilesReaderZip(IInputFile* file)
    : CSortedArchiveReader(file), m_packed(0) {
    if (!file) {
        return;
    }
    uint32_t position = uint32_t(file->getPosition());
    while (readLocalHeader(position)) {
    }
    sortEntries();
}

CVirtualFilesReaderZip::~CVirtualFilesReaderZip() {
    libdeflate_free_decompressor(m_decompressor);
}

// Positional reads: stored entries read the same file from other threads.
bool CVirtualFilesReaderZip::readAt(uint32_t position, void* buffer, uint32_t count) {
    return uint64_t{position} + count <= m_fileLength &&
           m_file->readBytesAt(int32_t(position), buffer, int32_t(count)) == int32_t(count);
}

bool CVirtualFilesReaderZip::readLocalHeader(uint32_t& position) {
    uint8_t bytes[kHeaderSize + kNameBytesWithHeader];
    const uint32_t left = position < m_fileLength ? m_fileLength - position : 0;
    const uint32_t count = left < sizeof bytes ? left : uint32_t(sizeof bytes);
    if (count < kHeaderSize || !readAt(position, bytes, count)) {
        return false;
    }
    ZipEntry entry;
    entry.header = parseHeader(bytes);
    if (entry.header.signature != kLocalSignature) {
        return false;
    }
    const uint32_t nameLength = entry.header.nameLength;
    if (m_nameBytes.allocated() < nameLength + 1) {
        m_nameBytes.reallocate(nameLength + 1);
    }
    if (kHeaderSize + nameLength <= count) {
        std::memcpy(m_nameBytes.data(), bytes + kHeaderSize, nameLength);
    } else if (!readAt(position + kHeaderSize, m_nameBytes.data(), nameLength)) {
        return false;
    }
    m_nameBytes.data()[nameLength] = 0;
    entry.name = CStringW(m_nameBytes.c_str());
    const uint64_t dataOffset =
        uint64_t{position} + kHeaderSize + nameLength + entry.header.extraLength;
    if (dataOffset > m_fileLength) {
        return false;
    }
    uint64_t next = dataOffset + entry.header.compressedSize;
    if (entry.header.flags & kFlagDataDescriptor) {
        if (!takeSizesFromDirectory(position, entry.header)) {
            CLogger::instance()->log(u"Zip entry has no sizes, reading of the archive stops at: " +
                                         entry.name,
                                     CLogger::LevelError);
            return false;
        }
        next = skipDataDescriptor(dataOffset + entry.header.compressedSize);
    }
    const int slash = entry.name.findLast(u'/');
    entry.folderPart = slash < 0 ? CStringW() : entry.name.subString(0, uint32_t(slash) + 1);
    entry.dataOffset = uint32_t(dataOffset);
    m_entries.append(std::move(entry));
    if (next > m_fileLength) {
        return false;
    }
    position = uint32_t(next);
    return true;
}

uint64_t CVirtualFilesReaderZip::skipDataDescriptor(uint64_t dataEnd) {
    // CRC-32 and both sizes, after a signature that some writers leave out.
    uint8_t signature[4] = {};
    const bool hasSignature = dataEnd <= UINT32_MAX && readAt(uint32_t(dataEnd), signature, 4) &&
                              readU32(signature) == kDescriptorSignature;
    return dataEnd + (hasSignature ? 16 : 12);
}

bool CVirtualFilesReaderZip::takeSizesFromDirectory(uint32_t headerOffset, ZipLocalHeader& header) {
    if (m_directoryState == DirectoryState::Unread) {
        m_directoryState =
            m_directory.read(m_file.get()) ? DirectoryState::Read : DirectoryState::Missing;
    }
    return m_directoryState == DirectoryState::Read &&
           m_directory.findSizes(headerOffset, header.compressedSize, header.uncompressedSize);
}

void CVirtualFilesReaderZip::logEntryError(const char16_t* message, const ZipEntry& entry) const {
    CLogger::instance()->log(message + entry.name, CLogger::LevelError);
}

CRefPointer<IInputFile> CVirtualFilesReaderZip::openEntryAt(uint32_t index) {
    if (index >= m_entries.size()) {
        return nullptr;
    }
    const ZipEntry& entry = m_entries[index];
    if (entry.header.flags & kFlagEncrypted) {
        logEntryError(u"Encrypted zip entry is not supported: ", entry);
        return nullptr;
    }
    if (uint64_t{entry.dataOffset} + entry.header.compressedSize > m_fileLength) {
        logEntryError(u"Zip entry runs past the end of the archive: ", entry);
        return nullptr;
    }
    switch (entry.header.method) {
    case kMethodStored:
        return createFileSlice(entry.name, m_file.get(), int32_t(entry.dataOffset),
                               int32_t(entry.header.compressedSize));
    case kMethodDeflated:
        return inflateEntry(entry);
    default:
        logEntryError(u"File has unsupported compression method: ", entry);
        return nullptr;
    }
}

CRefPointer<IInputFile> CVirtualFilesReaderZip::inflateEntry(const ZipEntry& entry) {
    const uint32_t packedSize = entry.header.compressedSize;
    const uint32_t size = entry.header.uncompressedSize;
    if (size > INT32_MAX || size > packedSize * kMaxDeflateRatio + kMaxDeflateRatio) {
        logEntryError(u"Zip entry states an impossible size: ", entry);
        return nullptr;
    }
    CByteBuffer output(size);
    if (!m_decompressor) {
        m_decompressor = libdeflate_alloc_decompressor();
    }
    if (!m_packed.reserve(packedSize) || !output.data() || !m_decompressor) {
        logEntryError(u"Not enough memory for zip entry: ", entry);
        return nullptr;
    }
    const CRefPointer<IInputFile> file = inflateInto(entry, output);
    if (m_packed.size() > kMaxKeptPackedSize) {
        delete[] m_packed.detach();
    }
    return file;
}

CRefPointer<IInputFile> CVirtualFilesReaderZip::inflateInto(const ZipEntry& entry,
                                                            CByteBuffer& output) {
    const uint32_t packedSize = entry.header.compressedSize;
    const uint32_t size = entry.header.uncompressedSize;
    if (!readAt(entry.dataOffset, m_packed.data(), packedSize)) {
        logEntryError(u"Zip entry could not be read: ", entry);
        return nullptr;
    }
    if (libdeflate_deflate_decompress(m_decompressor, m_packed.data(), packedSize, output.data(),
                                      size, nullptr) != LIBDEFLATE_SUCCESS) {
        const char16_t* failure = inflateFailure(m_packed.data(), packedSize, output.data(), size);
        CLogger::instance()->log(CStringW(u"Damaged zip entry (") +
                                     (failure ? failure : u"damaged data") + u"): " + entry.name,
                                 CLogger::LevelError);
        return nullptr;
    }
    return CRefPointer<IInputFile>(
        new CMemoryBlockFile(output.detach(), int32_t(size), entry.name, true));
}
