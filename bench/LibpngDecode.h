#pragma once

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>
#include <png.h>

// The peer of our picture loading: the state's loop decoding the PNG bytes to BGRA with
// libpng's simplified reader.
inline void runLibpngDecode(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, bytes.data(), bytes.size());
        image.format = PNG_FORMAT_BGRA;
        pixels.resize(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
}
