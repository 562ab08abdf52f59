#pragma once

#include "engine/core/String.h"

// Real UTF-8 <-> UTF-16 conversion for paths and text that reach the operating system (the
// string classes' own width conversions only copy bytes). Ill-formed input, such as a lone
// surrogate or a broken UTF-8 sequence, becomes U+FFFD. A null text gives an empty string.
CString utf16ToUtf8(const char16_t* text);
CStringW utf8ToUtf16(const char* text);
