// Feeds arbitrary bytes to the WAVE loader and reads the decoded frames.
#include <cstddef>
#include <cstdint>

#include "engine/audio/WaveSoundLoader.h"
#include "fuzz/SoundFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzSoundLoader<CWaveSoundLoader>(data, size, u"input.wav");
}
