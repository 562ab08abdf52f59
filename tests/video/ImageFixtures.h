#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/video/SoftwareImage.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer's allocator interface, whose header only comes with clang.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

// The files of tests/video/fixtures, made by make-fixtures.py, and the pixel formulas that
// script draws with (keep the two in step).
namespace fixtures {

constexpr int32_t kWidth = 7; // PNG and RAW images
constexpr int32_t kHeight = 5;
constexpr int32_t kJpegSize = 16; // JPEG images are square

inline uint32_t rgb(int32_t x, int32_t y) {
    return 0xFF000000u | uint32_t(30 * x + 10) << 16 | uint32_t(50 * y + 5) << 8 |
           uint32_t((x * y * 9) & 255);
}
inline uint32_t alpha(int32_t x, int32_t y) {
    return uint32_t(255 - 35 * x - 6 * y);
}
inline uint32_t rgba(int32_t x, int32_t y) {
    return (rgb(x, y) & 0xFFFFFF) | alpha(x, y) << 24;
}
inline uint32_t grey(int32_t x, int32_t y) {
    return uint32_t(30 * x + 12 * y);
}
inline uint32_t greyRgb(uint32_t v) {
    return 0xFF000000u | v << 16 | v << 8 | v;
}
inline uint32_t jpegRgb(int32_t x, int32_t y) {
    return 0xFF000000u | uint32_t(8 * x + 40) << 16 | uint32_t(8 * y + 60) << 8 |
           uint32_t(200 - 4 * (x + y));
}
inline uint32_t jpegAlpha(int32_t x, int32_t y) {
    return uint32_t(255 - 6 * x - 4 * y);
}

inline std::vector<uint8_t> read(const std::string& name) {
    std::ifstream in(std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "video" / "fixtures" /
                         name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A memory file holding a copy of bytes, under the given name.
inline CRefPointer<IInputFile> memoryFile(const std::vector<uint8_t>& bytes,
                                          const std::string& name) {
    auto* data = new uint8_t[bytes.size() + 1];
    if (!bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    return CRefPointer<IInputFile>(
        new CMemoryBlockFile(data, int32_t(bytes.size()), CStringW(name.c_str()), true));
}

inline CRefPointer<IInputFile> open(const std::string& name) {
    const std::vector<uint8_t> bytes = read(name);
    EXPECT_FALSE(bytes.empty()) << "missing fixture " << name;
    return memoryFile(bytes, name);
}

// An image drawn with pixel(x, y) as A8R8G8B8, then converted to format.
template <typename Pixel>
CRefPointer<CSoftwareImage> drawnImage(int32_t format, int32_t width, int32_t height, Pixel pixel) {
    const CRefPointer<CSoftwareImage> argb =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            reinterpret_cast<uint32_t*>(argb->getData())[y * width + x] = pixel(x, y);
    return CSoftwareImage::createCopy(CContentKey(), format, argb.get());
}

// Largest difference of the red, green, blue and alpha channels.
inline int32_t channelDistance(uint32_t a, uint32_t b) {
    int32_t largest = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t d = int32_t((a >> shift) & 0xFF) - int32_t((b >> shift) & 0xFF);
        largest = d < 0 ? (-d > largest ? -d : largest) : (d > largest ? d : largest);
    }
    return largest;
}

inline std::atomic<bool> recordingAllocations{false};
inline std::atomic<size_t> largestAllocation{0};

inline void recordAllocation(const volatile void*, size_t size) {
    size_t largest = largestAllocation.load();
    while (recordingAllocations.load() && size > largest &&
           !largestAllocation.compare_exchange_weak(largest, size)) {
    }
}

inline void ignoreFree(const volatile void*) {}

// The largest block allocated while fn runs, as the address sanitizer's hooks report it; -1 in
// a build without it.
template <typename Fn>
int64_t largestAllocationDuring(Fn fn) {
#if defined(__SANITIZE_ADDRESS__)
    static const bool hooked =
        __sanitizer_install_malloc_and_free_hooks(recordAllocation, ignoreFree) != 0;
    if (!hooked)
        return -1;
    largestAllocation.store(0);
    recordingAllocations.store(true);
    fn();
    recordingAllocations.store(false);
    return int64_t(largestAllocation.load());
#else
    fn();
    return -1;
#endif
}

// Decoding a small file that declares a large image allocates at most this much at once.
constexpr int64_t kSmallFileAllocation = 4 * 1024 * 1024;

} // namespace fixtures
