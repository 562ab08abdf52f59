// Feeds arbitrary bytes to the qimg decoder: every input must give an image or none, without
// a fault.
#include <cstddef>
#include <cstdint>

#include "engine/video/QimgImageDecoder.h"
#include "fuzz/DecodeFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzImageDecoder<CQimgImageDecoder>(data, size, u"input.qimg");
}
