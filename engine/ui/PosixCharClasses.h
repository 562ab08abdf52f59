#pragma once

// Unicode character classes as the C library's UTF-8 locale has them, whatever locale the
// process runs in (the plain C locale knows only ASCII letters); without that locale, the
// process's own classes.
bool isDigitCharacter(char16_t character);
bool isLetterCharacter(char16_t character);
bool isBlankCharacter(char16_t character);
bool isPunctuationCharacter(char16_t character);
