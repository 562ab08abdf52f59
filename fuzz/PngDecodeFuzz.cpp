// Feeds arbitrary bytes to the png decoder: every input must give an image or none, without
// a fault.
#include <cstddef>
#include <cstdint>

#include "engine/video/PngImageDecoder.h"
#include "fuzz/DecodeFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzImageDecoder<CPngImageDecoder>(data, size, u"input.png");
}
