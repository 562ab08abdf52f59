// Feeds arbitrary bytes, as 8-bit and as UTF-16 text, to the number parsers and checks that
// every parser stays inside the text and reads no more than it reports.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/core/StringFunctions.h"

namespace {

template <typename Char>
void check(const Char* text, const Char* end, const Char* position) {
    if (position < text || position > end)
        std::abort();
}

template <typename Char>
void parseAll(const Char* text, const Char* end) {
    float f;
    int i;
    uint32_t u;
    if constexpr (sizeof(Char) == 1) {
        check(text, end, parseFloat(text, f));
        check(text, end, parseUnsignedDecimal(text, f));
        check(text, end, parseSignedDecimal(text, i));
        check(text, end, parseHex(text, u));
        const CArray<int> values = parseIntListNarrow(text);
        const CString joined = joinIntList(values);
        if (parseIntListNarrow(joined.c_str()).size() != values.size())
            std::abort();
    } else {
        check(text, end, parseFloatW(text, f));
        check(text, end, parseUnsignedDecimalW(text, f));
        check(text, end, parseSignedDecimalW(text, i));
        check(text, end, parseHexW(text, u));
        parseIntList(text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* narrow = new char[size + 1];
    std::memcpy(narrow, data, size);
    narrow[size] = 0;
    parseAll<char>(narrow, narrow + std::strlen(narrow));
    delete[] narrow;

    const size_t units = size / 2;
    char16_t* wide = new char16_t[units + 1];
    std::memcpy(wide, data, units * 2);
    wide[units] = 0;
    const char16_t* end = wide;
    while (*end != 0)
        ++end;
    parseAll<char16_t>(wide, end);
    delete[] wide;
    return 0;
}
