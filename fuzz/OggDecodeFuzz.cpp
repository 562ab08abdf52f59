// Feeds arbitrary bytes to the Ogg Vorbis loader and reads the decoded frames.
#include <cstddef>
#include <cstdint>

#include "engine/audio/OggSoundLoader.h"
#include "fuzz/SoundFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzSoundLoader<COggSoundLoader>(data, size, u"input.ogg");
}
