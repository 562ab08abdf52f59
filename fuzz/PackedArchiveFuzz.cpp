// Mounts an arbitrary file as a packed archive and reads every entry. The first byte gives
// the password's length and the password follows; the archive is the rest.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFilesReaderQca.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20))
        return 0;
    // A damaged archive writes a log line; the echo would drown the fuzzer's own output.
    static std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
    const size_t passwordLength = data[0] < size - 1 ? data[0] : size - 1;
    char password[256] = {};
    for (size_t i = 0; i < passwordLength; ++i)
        password[i] = data[1 + i] != 0 ? char(data[1 + i]) : 'x';
    const size_t start = 1 + passwordLength;
    uint8_t* bytes = new uint8_t[size - start + 1];
    for (size_t i = start; i < size; ++i)
        bytes[i - start] = data[i];
    CRefPointer<IInputFile> file(
        new CMemoryBlockFile(bytes, int32_t(size - start), u"fuzz.qca", true));
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderQca(file.get(), password));
    uint32_t checksum = 0;
    uint8_t buffer[4096];
    for (uint32_t i = 0; i <= reader->entryCount(); ++i) {
        if (const VirtualFileEntry* entry = reader->entryAt(i))
            checksum += uint32_t(reader->indexOfName(entry->name));
        CRefPointer<IInputFile> entryFile = reader->openEntryAt(i);
        if (!entryFile)
            continue;
        for (int32_t n; (n = entryFile->readBytes(buffer, sizeof buffer)) > 0;)
            checksum += buffer[n - 1];
    }
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
