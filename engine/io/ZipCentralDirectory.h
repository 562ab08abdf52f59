#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/io/IInputFile.h"

// The sizes that a zip archive's central directory records for each local header. The zip
// reader walks the local headers and asks here only for entries that keep their sizes in a
// data descriptor after the data (general-purpose flag bit 3).
class CZipCentralDirectory {
public:
    // Finds the end record in the last 64 KiB of the file and reads the directory it points
    // to; false when there is none or it does not lie within the file. Zip64 is not read.
    bool read(IInputFile* file);

    // The sizes recorded for the local header at that offset; false when no record has it.
    bool findSizes(uint32_t localHeaderOffset, uint32_t& compressedSize,
                   uint32_t& uncompressedSize) const;

private:
    struct Record {
        uint32_t localHeaderOffset;
        uint32_t compressedSize;
        uint32_t uncompressedSize;
    };

    // Reads the records of the directory [offset, offset + size) in offset order.
    bool readRecords(IInputFile* file, uint32_t offset, uint32_t size);

    CArray<Record> m_records;
};
