// Feeds arbitrary bytes to the jpg decoder: every input must give an image or none, without
// a fault.
#include <cstddef>
#include <cstdint>

#include "engine/video/JpegImageDecoder.h"
#include "fuzz/DecodeFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzImageDecoder<CJpegImageDecoder>(data, size, u"input.jpg");
}
