#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/core/StringFunctions.h"

// Hands the numbers of a text in order to take(value), until take returns false or the text
// ends. Every character other than '-' or a digit is skipped; at one of those a number is read
// as parseFloat reads it. So any separator works, "+" and "." separate, a lone "-" reads as 0
// and a null text holds no numbers.
template <typename Char, typename Take>
void scanNumbers(const Char* text, Take take) {
    if (text == nullptr)
        return;
    while (*text != 0) {
        if (*text != '-' && (*text < '0' || *text > '9')) {
            ++text;
            continue;
        }
        float value;
        if constexpr (std::is_same_v<Char, char>)
            text = parseFloat(text, value);
        else
            text = parseFloatW(text, value);
        if (!take(value))
            return;
    }
}

// Reads the first count numbers of a text (see scanNumbers) into values, all of which start
// at 0, so missing numbers and a null text give zeros.
void readNumberList(const char* text, float* values, uint32_t count);
void readNumberList(const char16_t* text, float* values, uint32_t count);

// The first four numbers, as rectangles and float colours are written.
void parseFourFloats(const char* text, float (&values)[4]);
void parseFourFloats(const char16_t* text, float (&values)[4]);
