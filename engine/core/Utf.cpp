#include "engine/core/Utf.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// One code point from UTF-16; a surrogate without its partner gives U+FFFD.
char32_t decodeUtf16(const char16_t*& text) {
    const char16_t unit = *text++;
    if (isHighSurrogate(unit) && isLowSurrogate(*text)) {
        const char16_t low = *text++;
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
    }
    if (isHighSurrogate(unit) || isLowSurrogate(unit))
        return kReplacement;
    return unit;
}

// One code point from UTF-8. An ill-formed sequence gives U+FFFD and consumes only its longest
// valid beginning (at least one byte), so the byte that broke it is read again as a new start.
char32_t decodeUtf8(const unsigned char*& text) {
    const unsigned char lead = *text++;
    if (lead < 0x80)
        return lead;
    int continuations;
    char32_t codePoint;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong forms
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return kReplacement;
    }
    for (int i = 0; i < continuations; ++i) {
        if (*text < low || *text > high)
            return kReplacement;
        codePoint = (codePoint << 6) | (*text++ & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

uint32_t utf8Length(char32_t codePoint) {
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

char* encodeUtf8(char* out, char32_t codePoint) {
    const uint32_t length = utf8Length(codePoint);
    if (length == 1) {
        *out++ = char(codePoint);
        return out;
    }
    static constexpr unsigned char kLeadMarks[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (uint32_t i = length - 1; i > 0; --i) {
        out[i] = char(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    out[0] = char(kLeadMarks[length] | codePoint);
    return out + length;
}

uint32_t utf16Length(char32_t codePoint) {
    return codePoint < 0x10000 ? 1 : 2;
}

char16_t* encodeUtf16(char16_t* out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        *out++ = char16_t(codePoint);
        return out;
    }
    codePoint -= 0x10000;
    *out++ = char16_t(0xD800 + (codePoint >> 10));
    *out++ = char16_t(0xDC00 + (codePoint & 0x3FF));
    return out;
}

// Measures first, then writes into one scratch buffer of the exact size.
template <typename String, typename Char, typename In, char32_t (*decode)(const In*&),
          uint32_t (*measure)(char32_t), Char* (*encode)(Char*, char32_t)>
String convert(const In* text) {
    if (text == nullptr)
        return String();
    uint32_t length = 0;
    for (const In* in = text; *in != 0;)
        length += measure(decode(in));
    Char* scratch = new Char[length + 1];
    Char* out = scratch;
    for (const In* in = text; *in != 0;)
        out = encode(out, decode(in));
    *out = 0;
    String result(scratch);
    delete[] scratch;
    return result;
}

} // namespace

CString utf16ToUtf8(const char16_t* text) {
    return convert<CString, char, char16_t, decodeUtf16, utf8Length, encodeUtf8>(text);
}

CStringW utf8ToUtf16(const char* text) {
    return convert<CStringW, char16_t, unsigned char, decodeUtf8, utf16Length, encodeUtf16>(
        reinterpret_cast<const unsigned char*>(text));
}
