// Mounts an arbitrary file as a zip archive, then opens, reads and looks up every entry.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFilesReaderZip.h"
#include "fuzz/ArchiveFuzzTarget.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    silenceArchiveLog();
    const CRefPointer<IInputFile> file = makeFuzzInputFile(data, size, u"fuzz.zip");
    const CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderZip(file.get()));
    readEveryEntry(reader.get());
    return 0;
}
