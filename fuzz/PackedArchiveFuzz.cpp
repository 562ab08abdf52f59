// Mounts an arbitrary file as a packed archive and reads every entry. The first byte gives
// the password's length and the password follows; the archive is the rest.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFilesReaderQca.h"
#include "fuzz/ArchiveFuzzTarget.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20))
        return 0;
    silenceArchiveLog();
    const size_t passwordLength = data[0] < size - 1 ? data[0] : size - 1;
    char password[256] = {};
    for (size_t i = 0; i < passwordLength; ++i)
        password[i] = data[1 + i] != 0 ? char(data[1 + i]) : 'x';
    const size_t start = 1 + passwordLength;
    const CRefPointer<IInputFile> file = makeFuzzInputFile(data + start, size - start, u"fuzz.qca");
    const CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderQca(file.get(), password));
    readEveryEntry(reader.get());
    return 0;
}
