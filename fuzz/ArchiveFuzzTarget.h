#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/core/RefPointer.h"
#include "engine/io/IVirtualFilesReader.h"

// A damaged archive writes log lines; their echo would drown the fuzzer's own output.
inline void silenceArchiveLog() {
    static std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
}

// Looks up, opens and reads every entry of the archive, and asks for one index past them.
inline void readEveryEntry(IVirtualFilesReader* reader) {
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
}
