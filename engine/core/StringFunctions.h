#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/String.h"

// Number parsing and formatting, list joins and splits, and a few display texts. None of them
// depends on the process locale. Each parser sets its value (0 for a null text) and returns the
// position just behind what it read (null for a null text). The W forms read UTF-16 text.

// "%08x": eight lower-case hexadecimal digits.
CString formatHex(uint32_t value);
CStringW formatHexW(uint32_t value);

// Digits only; beyond the largest float the digit that overflows is the last one read.
const char* parseUnsignedDecimal(const char* text, float& value);
const char16_t* parseUnsignedDecimalW(const char16_t* text, float& value);

// One optional sign; a value past the int range becomes 2147483647 (negated after a '-').
const char* parseSignedDecimal(const char* text, int& value);
const char16_t* parseSignedDecimalW(const char16_t* text, int& value);

// Hexadecimal digits without prefix; a value that would not fit becomes 0xFFFFFFFF.
const char* parseHex(const char* text, uint32_t& value);
const char16_t* parseHexW(const char16_t* text, uint32_t& value);

// Optional '-', integer part, optional '.' fraction (digits past the sixteenth are skipped),
// optional 'e' or 'E' exponent. '+' is not accepted.
const char* parseFloat(const char* text, float& value);
const char16_t* parseFloatW(const char16_t* text, float& value);

// Every '-' or digit starts a number, read as a float and truncated toward zero (clamped to the
// int range); all other characters separate.
CArray<int> parseIntList(const char16_t* text);
CArray<int> parseIntListNarrow(const char* text);

// Joined with ';'; an empty array gives an empty string.
CString joinIntList(const CArray<int>& values);
CStringW joinNameIds(const CArray<CNameId>& names);

// Cuts at every ';', trims and interns each piece; empty pieces become the empty name unless
// skipEmpty leaves them out.
CArray<CNameId> splitNameIds(const char* text, bool skipEmpty);

// "MM:SS" of the minutes and seconds within the hour.
CStringW formatMinutesSeconds(uint32_t milliseconds);

// Decimal text with the separator before every group of three digits: 1234 gives 1,234.
CStringW formatGroupedInt(int value, char16_t separator);
