#include "engine/core/StringFunctions.h"

#include <cfloat>
#include <climits>
#include <cmath>

#include "engine/core/NumberList.h"

namespace {

template <typename Char>
bool isDigit(Char ch) {
    return ch >= '0' && ch <= '9';
}

template <typename Char>
int hexDigit(Char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Digits go into a u32 while it has room, then on in double arithmetic, rounded to float once
// at the end: rounding at every digit would read the text of a large float as another float.
// Reading stops after maxDigits digits or after the digit that takes the value past the largest
// float, which reads as infinity.
template <typename Char>
const Char* readUnsigned(const Char* text, float& value, uint32_t maxDigits) {
    uint32_t whole = 0;
    double large = 0;
    bool isLarge = false;
    for (uint32_t digits = 0; digits < maxDigits && isDigit(*text); ++digits) {
        const uint32_t digit = uint32_t(*text++ - '0');
        if (!isLarge && whole < 429496719u) {
            whole = whole * 10 + digit;
            continue;
        }
        if (!isLarge) {
            large = double(whole);
            isLarge = true;
        }
        large = large * 10 + double(digit);
        if (large > FLT_MAX)
            break;
    }
    if (!isLarge)
        value = float(whole);
    else
        value = large > FLT_MAX ? INFINITY : float(large);
    return text;
}

template <typename Char>
const Char* parseUnsignedDecimalT(const Char* text, float& value) {
    value = 0;
    if (text == nullptr)
        return nullptr;
    return readUnsigned(text, value, UINT32_MAX);
}

template <typename Char>
const Char* parseSignedDecimalT(const Char* text, int& value) {
    value = 0;
    if (text == nullptr)
        return nullptr;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    int64_t result = 0;
    while (isDigit(*text)) {
        result = result * 10 + (*text++ - '0');
        if (result > INT_MAX) {
            result = INT_MAX;
            break;
        }
    }
    value = negative ? -int(result) : int(result);
    return text;
}

template <typename Char>
const Char* parseHexT(const Char* text, uint32_t& value) {
    value = 0;
    if (text == nullptr)
        return nullptr;
    for (int digit = hexDigit(*text); digit >= 0; digit = hexDigit(*text)) {
        if (value > 0x0FFFFFFFu) {
            value = 0xFFFFFFFFu;
            break;
        }
        value = value * 16 + uint32_t(digit);
        ++text;
    }
    return text;
}

constexpr uint32_t kFractionDigits = 16;
constexpr double kFractionScale[kFractionDigits] = {1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,
                                                    1e-7,  1e-8,  1e-9,  1e-10, 1e-11, 1e-12,
                                                    1e-13, 1e-14, 1e-15, 1e-16};

template <typename Char>
const Char* parseFloatT(const Char* text, float& value) {
    value = 0;
    if (text == nullptr)
        return nullptr;
    const bool negative = *text == '-';
    if (negative)
        ++text;
    float result;
    text = readUnsigned(text, result, UINT32_MAX);
    if (*text == '.') {
        const Char* fractionStart = ++text;
        float fraction;
        text = readUnsigned(text, fraction, kFractionDigits);
        const uint32_t digits = uint32_t(text - fractionStart);
        if (digits > 0)
            result = float(double(result) + double(fraction) * kFractionScale[digits - 1]);
        // Digits past the scaling table add nothing a float could hold.
        while (isDigit(*text))
            ++text;
    }
    if (*text == 'e' || *text == 'E') {
        int exponent;
        text = parseSignedDecimalT(text + 1, exponent);
        const double power = std::pow(10.0, double(exponent));
        const float scale = power > FLT_MAX ? INFINITY : float(power);
        // Zero stays zero however large the exponent (0 * inf would be NaN).
        if (result != 0)
            result *= scale;
        if (std::isnan(result))
            result = 0;
    }
    value = negative ? -result : result;
    return text;
}

int truncateToInt(float value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value < -2147483648.0f)
        return INT_MIN;
    return int(value);
}

template <typename Char>
CArray<int> parseIntListT(const Char* text) {
    CArray<int> values;
    scanNumbers(text, [&values](float value) {
        values.append(truncateToInt(value));
        return true;
    });
    return values;
}

template <typename String>
String formatHexT(uint32_t value) {
    char digits[9];
    for (int i = 7; i >= 0; --i) {
        digits[i] = "0123456789abcdef"[value & 15];
        value >>= 4;
    }
    digits[8] = 0;
    return String(digits);
}

// Two digits with a leading zero; the value is below 60.
void appendTwoDigits(char16_t*& out, uint32_t value) {
    *out++ = char16_t(u'0' + value / 10);
    *out++ = char16_t(u'0' + value % 10);
}

} // namespace

CString formatHex(uint32_t value) {
    return formatHexT<CString>(value);
}

CStringW formatHexW(uint32_t value) {
    return formatHexT<CStringW>(value);
}

const char* parseUnsignedDecimal(const char* text, float& value) {
    return parseUnsignedDecimalT(text, value);
}

const char16_t* parseUnsignedDecimalW(const char16_t* text, float& value) {
    return parseUnsignedDecimalT(text, value);
}

const char* parseSignedDecimal(const char* text, int& value) {
    return parseSignedDecimalT(text, value);
}

const char16_t* parseSignedDecimalW(const char16_t* text, int& value) {
    return parseSignedDecimalT(text, value);
}

const char* parseHex(const char* text, uint32_t& value) {
    return parseHexT(text, value);
}

const char16_t* parseHexW(const char16_t* text, uint32_t& value) {
    return parseHexT(text, value);
}

const char* parseFloat(const char* text, float& value) {
    return parseFloatT(text, value);
}

const char16_t* parseFloatW(const char16_t* text, float& value) {
    return parseFloatT(text, value);
}

CArray<int> parseIntList(const char16_t* text) {
    return parseIntListT(text);
}

CArray<int> parseIntListNarrow(const char* text) {
    return parseIntListT(text);
}

CString joinIntList(const CArray<int>& values) {
    CString text;
    for (uint32_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text.append(";");
        text.append(values[i]);
    }
    return text;
}

CStringW joinNameIds(const CArray<CNameId>& names) {
    CStringW text;
    for (uint32_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text.append(u";");
        text.append(names[i].toString().c_str());
    }
    return text;
}

CArray<CNameId> splitNameIds(const char* text, bool skipEmpty) {
    CArray<CNameId> names;
    // Pieces are cut out of one copy by overwriting each ';' with a terminator.
    CString copy(text);
    char* start = copy.data();
    for (;;) {
        char* end = start;
        while (*end != 0 && *end != ';')
            ++end;
        const bool isLast = *end == 0;
        *end = 0;
        CString piece(start);
        piece.trim();
        if (!skipEmpty || !piece.isEmpty())
            names.append(CNameId(piece));
        if (isLast)
            return names;
        start = end + 1;
    }
}

CStringW formatMinutesSeconds(uint32_t milliseconds) {
    char16_t text[6];
    char16_t* out = text;
    appendTwoDigits(out, milliseconds / 60000 % 60);
    *out++ = u':';
    appendTwoDigits(out, milliseconds / 1000 % 60);
    *out = 0;
    return CStringW(text);
}

CStringW formatGroupedInt(int value, char16_t separator) {
    // Eleven characters for the digits and sign of any int, three more for the separators.
    char16_t text[16];
    uint32_t first = sizeof(text) / sizeof(text[0]);
    text[--first] = 0;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    for (int digits = 0; digits == 0 || magnitude != 0; ++digits) {
        if (digits > 0 && digits % 3 == 0)
            text[--first] = separator;
        text[--first] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    }
    if (value < 0)
        text[--first] = u'-';
    return CStringW(text + first);
}
