#pragma once

#include <cstdint>

// Reads the first count numbers of a text into values, all of which start at 0. Every character
// other than '-' or a digit is skipped; at one of those a number is read as parseFloat reads it.
// So any separator works, "+" and "." separate, a lone "-" reads as 0 and a null text as zeros.
void readNumberList(const char* text, float* values, uint32_t count);
void readNumberList(const char16_t* text, float* values, uint32_t count);
