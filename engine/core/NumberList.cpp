#include "engine/core/NumberList.h"

#include "engine/core/StringFunctions.h"

namespace {

const char* parseNumber(const char* text, float& value) {
    return parseFloat(text, value);
}

const char16_t* parseNumber(const char16_t* text, float& value) {
    return parseFloatW(text, value);
}

template <typename Char>
void readNumberListT(const Char* text, float* values, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        values[i] = 0;
    if (text == nullptr)
        return;
    uint32_t read = 0;
    while (read < count && *text != 0) {
        if (*text == '-' || (*text >= '0' && *text <= '9'))
            text = parseNumber(text, values[read++]);
        else
            ++text;
    }
}

} // namespace

void readNumberList(const char* text, float* values, uint32_t count) {
    readNumberListT(text, values, count);
}

void readNumberList(const char16_t* text, float* values, uint32_t count) {
    readNumberListT(text, values, count);
}
