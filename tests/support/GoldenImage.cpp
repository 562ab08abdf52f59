#include "support/GoldenImage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "engine/core/Utf.h"
#include "engine/io/DiskInputFile.h"
#include "engine/io/DiskOutputFile.h"
#include "engine/video/PngImageDecoder.h"
#include "engine/video/PngImageEncoder.h"
#include "engine/video/SoftwareImage.h"

namespace {

std::filesystem::path goldenPath(const std::string& name) {
    return std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "golden" / (name + ".png");
}

CStringW wide(const std::filesystem::path& path) {
    return utf8ToUtf16(path.string().c_str());
}

bool writePng(const CSoftwareImage& image, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    CRefPointer<IOutputFile> file = createDiskOutputFile(wide(path), false);
    return file && CPngImageEncoder().write(file.get(), &image, 0);
}

CRefPointer<CSoftwareImage> readPng(const std::filesystem::path& path) {
    CRefPointer<IInputFile> file = createDiskInputFile(wide(path));
    return file ? decodePng(file.get(), CContentKey()) : nullptr;
}

int channelDifference(uint32_t a, uint32_t b, int shift) {
    return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
}

::testing::AssertionResult failWithPictures(const CSoftwareImage& actual,
                                            const CSoftwareImage* diff, const std::string& name,
                                            const std::string& reason) {
    const std::filesystem::path folder = std::filesystem::absolute("golden-output");
    const std::filesystem::path actualPath = folder / (name + ".actual.png");
    std::ostringstream message;
    message << name << ": " << reason << "; the picture drawn is "
            << (writePng(actual, actualPath) ? actualPath.string() : "(not written)");
    if (diff) {
        const std::filesystem::path diffPath = folder / (name + ".diff.png");
        message << ", the difference "
                << (writePng(*diff, diffPath) ? diffPath.string() : "(not written)");
    }
    return ::testing::AssertionFailure() << message.str();
}

} // namespace

::testing::AssertionResult matchesGolden(const CSoftwareImage& actual, const std::string& name,
                                         int tolerance) {
    if (std::getenv("VANTOR_UPDATE_GOLDENS")) {
        if (writePng(actual, goldenPath(name)))
            return ::testing::AssertionSuccess() << "rewrote " << goldenPath(name);
        return ::testing::AssertionFailure() << "could not write " << goldenPath(name);
    }
    return matchesGoldenOf(actual, name, name, tolerance, 0);
}

::testing::AssertionResult matchesGoldenOf(const CSoftwareImage& actual,
                                           const std::string& goldenName, const std::string& name,
                                           int tolerance, int64_t allowedPixels) {
    const CRefPointer<CSoftwareImage> golden = readPng(goldenPath(goldenName));
    if (!golden)
        return failWithPictures(actual, nullptr, name,
                                "no golden " + goldenPath(goldenName).string());
    if (golden->getWidth() != actual.getWidth() || golden->getHeight() != actual.getHeight())
        return failWithPictures(actual, nullptr, name, "the golden has another size");
    CRefPointer<CSoftwareImage> diff = CSoftwareImage::create(
        CContentKey(), COLOR_FORMAT_R8G8B8, actual.getWidth(), actual.getHeight());
    int worst = 0;
    int worstX = 0;
    int worstY = 0;
    int64_t outside = 0;
    for (int32_t y = 0; y < actual.getHeight(); ++y) {
        for (int32_t x = 0; x < actual.getWidth(); ++x) {
            const uint32_t a = actual.pixelAt(x, y).value;
            const uint32_t g = golden->pixelAt(x, y).value;
            int largest = 0;
            uint32_t scaled = 0xFF000000u;
            for (int shift = 0; shift < 32; shift += 8) {
                const int difference = channelDifference(a, g, shift);
                largest = std::max(largest, difference);
                scaled |= uint32_t(std::min(difference * 8, 255)) << shift;
            }
            rgbBytesFromArgb(scaled, diff->getData() + size_t(y) * size_t(diff->getPitch()) +
                                         size_t(x) * 3);
            if (largest > tolerance)
                ++outside;
            if (largest > worst) {
                worst = largest;
                worstX = x;
                worstY = y;
            }
        }
    }
    if (outside <= allowedPixels)
        return ::testing::AssertionSuccess() << outside << " pixels differ";
    std::ostringstream reason;
    reason << outside << " pixels differ by more than " << tolerance << ", the most by " << worst
           << " at (" << worstX << ", " << worstY << ")";
    if (allowedPixels > 0)
        reason << ", " << allowedPixels << " may";
    return failWithPictures(actual, diff.get(), name, reason.str());
}
