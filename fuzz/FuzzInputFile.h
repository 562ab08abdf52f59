#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"

// A memory file over a copy of the fuzzer's bytes: a memory file takes a writable block, which
// it frees itself. The caller keeps size within int32_t.
inline CRefPointer<CMemoryBlockFile> makeFuzzInputFile(const uint8_t* data, size_t size,
                                                       const char16_t* name) {
    auto* bytes = new uint8_t[size + 1];
    if (size != 0)
        std::memcpy(bytes, data, size);
    return CRefPointer<CMemoryBlockFile>(new CMemoryBlockFile(bytes, int32_t(size), name, true));
}
