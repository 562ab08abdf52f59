// Mounts an arbitrary file as a zip archive, then opens, reads and looks up every entry.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFilesReaderZip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    // Refused entries write a log line each; the echo would drown the fuzzer's own output.
    static std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
    uint8_t* bytes = new uint8_t[size + 1];
    for (size_t i = 0; i < size; ++i)
        bytes[i] = data[i];
    CRefPointer<IInputFile> file(new CMemoryBlockFile(bytes, int32_t(size), u"fuzz.zip", true));
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderZip(file.get()));
    uint32_t checksum = 0;
    uint8_t buffer[4096];
    for (uint32_t i = 0; i <= reader->entryCount(); ++i) {
        if (const VirtualFileEntry* entry = reader->entryAt(i))
            checksum += uint32_t(reader->indexOfName(entry->name));
        CRefPointer<IInputFile> entryFile = reader->openEntryAt(i);
        if (!entryFile)
            continue;
        checksum += uint32_t(entryFile->getLength());
        for (int32_t n; (n = entryFile->readBytes(buffer, sizeof buffer)) > 0;)
            checksum += buffer[n - 1];
    }
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
