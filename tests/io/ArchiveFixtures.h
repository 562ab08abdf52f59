#pragma once

#include <filesystem>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "engine/io/DiskInputFile.h"
#include "engine/io/IInputFile.h"

// The archives of tests/io/fixtures, made by make-fixtures.py, and the entry contents that it
// writes into them.
namespace archive_fixtures {

inline std::filesystem::path fixturePath(const char* name) {
    return std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "io" / "fixtures" / name;
}

inline CStringW fixtureName(const char* name) {
    return utf8ToUtf16(fixturePath(name).string().c_str());
}

inline CRefPointer<IInputFile> openFixture(const char* name) {
    return createDiskInputFile(fixtureName(name));
}

inline std::string repeat(const std::string& text, size_t count) {
    std::string result;
    for (size_t i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

// Byte i holds (i * 7) mod 256.
inline std::string pixels(size_t count) {
    std::string result;
    for (size_t i = 0; i < count; ++i) {
        result += char((i * 7) & 0xFF);
    }
    return result;
}

// Byte i holds i.
inline std::string counting(size_t count) {
    std::string result;
    for (size_t i = 0; i < count; ++i) {
        result += char(i);
    }
    return result;
}

inline const std::string kTextB = repeat("upper B ", 50);
inline const std::string kFirst = repeat("first entry, deflated ", 20);
inline const std::string kThird = repeat("third ", 30);
inline const std::string kReadme =
    repeat("A line of text that the zip tool compresses well.\n", 40);

// The packed archives plain.qca, pw4.qca ("four") and pw60.qca hold the same entries.
inline const char kPassword60[] = "Kq7#vR2!mZ9@xL4$wT8%nB3^cJ6&hF1*pD5(gS0)yU-eA=iO+tG[uE]oW{rI";
inline const std::string kMainScene = pixels(300) + pixels(200);
inline const std::string kAlpha = repeat("alpha-", 100).substr(0, 481);

// Everything from the file's current position to its end; stops at a short read.
inline std::string readAll(IInputFile& file) {
    std::string result;
    char buffer[4096];
    for (int32_t n; (n = file.readBytes(buffer, sizeof buffer)) > 0;) {
        result.append(buffer, size_t(n));
    }
    return result;
}

} // namespace archive_fixtures
