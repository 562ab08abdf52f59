#include <benchmark/benchmark.h>

#include <png.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "engine/video/Blitter.h"
#include "engine/video/PngImageDecoder.h"
#include "engine/video/PngImageEncoder.h"
#include "engine/video/SoftwareImage.h"

namespace {

constexpr int32_t kSize = 1024;

// Gradients with some noise: compresses like artwork, not like a flat colour.
CRefPointer<CSoftwareImage> makePicture(int32_t format) {
    CRefPointer<CSoftwareImage> argb =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, kSize, kSize);
    std::mt19937 random(11);
    auto* pixels = reinterpret_cast<uint32_t*>(argb->getData());
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x)
            pixels[y * kSize + x] = uint32_t((x + y) / 8) << 24 | uint32_t(x / 4) << 16 |
                                    uint32_t(y / 4) << 8 | (random() & 0x1F);
    return CSoftwareImage::createCopy(CContentKey(), format, argb.get());
}

const std::vector<uint8_t>& pngBytes() {
    static const std::vector<uint8_t> bytes = [] {
        CRefPointer<CVirtualFile> file(new CVirtualFile(u"bench.png", 1 << 16));
        CPngImageEncoder().write(file.get(), makePicture(COLOR_FORMAT_A8R8G8B8).get(), 0);
        std::vector<uint8_t> out(size_t(file->getLength()));
        file->seekTo(0, false);
        file->readBytes(out.data(), int32_t(out.size()));
        return out;
    }();
    return bytes;
}

void setMegapixelRate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(
        double(kSize) * kSize * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void pngDecodeVantor(benchmark::State& state) {
    std::vector<uint8_t> bytes = pngBytes();
    for (auto _ : state) {
        CRefPointer<IInputFile> file(
            new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"bench.png", false));
        CRefPointer<CSoftwareImage> image = decodePng(file.get(), CContentKey());
        benchmark::DoNotOptimize(image->getData());
    }
    setMegapixelRate(state);
}

void pngDecodeLibpng(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = pngBytes();
    std::vector<uint8_t> pixels(size_t(kSize) * kSize * 4);
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, bytes.data(), bytes.size());
        image.format = PNG_FORMAT_BGRA;
        png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
    setMegapixelRate(state);
}

void convertRows(benchmark::State& state, int32_t from, int32_t to) {
    const CRefPointer<CSoftwareImage> source = makePicture(from);
    const CRefPointer<CSoftwareImage> target =
        CSoftwareImage::create(CContentKey(), to, kSize, kSize);
    for (auto _ : state) {
        convertPixels(source->getData(), from, kSize * kSize, target->getData(), to);
        benchmark::DoNotOptimize(target->getData());
    }
    setMegapixelRate(state);
}

void blit(benchmark::State& state, EBlitOperation operation, int32_t from, int32_t to) {
    const CRefPointer<CSoftwareImage> source = makePicture(from);
    const CRefPointer<CSoftwareImage> target = makePicture(to);
    for (auto _ : state) {
        blitImage(operation, source.get(), nullptr, target.get(), nullptr, nullptr,
                  CColor(0xFFC08040));
        benchmark::DoNotOptimize(target->getData());
    }
    setMegapixelRate(state);
}

void registerAll() {
    benchmark::RegisterBenchmark("PngDecode/vantor/1024", pngDecodeVantor);
    benchmark::RegisterBenchmark("PngDecode/libpng/1024", pngDecodeLibpng);

    struct Pair {
        const char* name;
        int32_t from, to;
    };
    const Pair conversions[] = {
        {"A8R8G8B8-A1R5G5B5", COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A1R5G5B5},
        {"A8R8G8B8-R5G6B5", COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_R5G6B5},
        {"R8G8B8-A8R8G8B8", COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A8R8G8B8},
        {"A1R5G5B5-A8R8G8B8", COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A8R8G8B8},
        {"A4R4G4B4-R5G6B5", COLOR_FORMAT_A4R4G4B4, COLOR_FORMAT_R5G6B5},
    };
    for (const Pair& p : conversions) {
        benchmark::RegisterBenchmark(
            (std::string("ImageConvert/vantor/") + p.name + "/1024").c_str(),
            [p](benchmark::State& state) { convertRows(state, p.from, p.to); });
    }

    struct Blit {
        const char* name;
        EBlitOperation operation;
        int32_t from, to;
    };
    const Blit blits[] = {
        {"copy-A8R8G8B8", BLIT_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A8R8G8B8},
        {"copy-A8R8G8B8-A1R5G5B5", BLIT_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A1R5G5B5},
        {"copy-R8G8B8-A8R8G8B8", BLIT_COPY, COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A8R8G8B8},
        {"alpha-A8R8G8B8", BLIT_ALPHA_COPY, COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A8R8G8B8},
        {"tinted-A1R5G5B5", BLIT_TINTED_ALPHA_COPY, COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A1R5G5B5},
    };
    for (const Blit& b : blits) {
        benchmark::RegisterBenchmark(
            (std::string("ImageBlit/vantor/") + b.name + "/1024").c_str(),
            [b](benchmark::State& state) { blit(state, b.operation, b.from, b.to); });
    }
}

const int kRegistered = (registerAll(), 0);

} // namespace
