#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/FuzzInputFile.h"

// The fuzzer's bytes as a configuration document, or none past 256 KiB. The readers' warnings
// are silenced: a fuzzed document draws one at nearly every run.
inline CRefPointer<CMemoryBlockFile> openConfigDocument(const uint8_t* data, size_t size) {
    if (size > (1u << 18))
        return nullptr;
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    return makeFuzzInputFile(data, size, u"fuzz");
}

// A reader over the whole document; one document may be read several times.
inline CRefPointer<CXmlTextReader> readConfigDocument(CMemoryBlockFile& file) {
    file.seekTo(0, false);
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(&file));
}
