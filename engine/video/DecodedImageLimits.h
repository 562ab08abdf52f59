#pragma once

#include <cstdint>

// How far the image decoders believe the size an image file declares, checked before anything
// is allocated: no side beyond the largest texture the drivers take, and no more pixels than
// the bytes present can hold in the file's coding.
constexpr uint32_t kMaxDecodedImageSide = 16384;
// Deflate expands at most about 1032 times, and a 1-bit pixel takes an eighth of a byte.
constexpr uint64_t kMaxPngPixelsPerByte = 1032 * 8;
// Huffman coding spends at least one bit on every 8 x 8 block, 512 pixels a byte; the margin
// leaves room for arithmetic coding.
constexpr uint64_t kMaxJpegPixelsPerByte = 8192;

inline bool isCredibleImageSize(uint64_t width, uint64_t height, int64_t bytesPresent,
                                uint64_t pixelsPerByte) {
    return width <= kMaxDecodedImageSide && height <= kMaxDecodedImageSide && bytesPresent > 0 &&
           width * height <= uint64_t(bytesPresent) * pixelsPerByte;
}
