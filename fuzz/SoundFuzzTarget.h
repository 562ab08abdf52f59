#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/audio/ISoundLoader.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "fuzz/FuzzInputFile.h"

// Feeds arbitrary bytes, as a file of the given name, to a sound loader and reads what its
// decoder gives to the end, twice: every input must give frames or none, without a fault.
template <typename Loader>
int fuzzSoundLoader(const uint8_t* data, size_t size, const char16_t* fileName) {
    if (size > size_t(INT32_MAX))
        return 0;
    const CRefPointer<IInputFile> file = makeFuzzInputFile(data, size, fileName);
    const CRefPointer<Loader> loader(new Loader());
    loader->acceptsContent(file.get());
    file->seekTo(0, false);
    const CRefPointer<CSoundDecoder> decoder = loader->load(file.get(), CContentKey());
    if (!decoder)
        return 0;
    std::vector<uint8_t> block(size_t(decoder->getFrameBytes()) * 1024);
    for (int pass = 0; pass < 2 && decoder->rewind(); ++pass) {
        while (decoder->read(block.data(), 1024) != 0) {
        }
    }
    return 0;
}
