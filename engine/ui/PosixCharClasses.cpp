#include "engine/ui/PosixCharClasses.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

// Made once and kept for the process's life.
locale_t unicodeClasses() {
    static const locale_t classes = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return classes;
}

template <typename InLocale, typename Plain>
bool classify(char16_t character, InLocale inLocale, Plain plain) {
    const locale_t classes = unicodeClasses();
    const wint_t wide = wint_t(character);
    return (classes != locale_t(nullptr) ? inLocale(wide, classes) : plain(wide)) != 0;
}

} // namespace

bool isDigitCharacter(char16_t character) {
    return classify(character, &iswdigit_l, &iswdigit);
}

bool isLetterCharacter(char16_t character) {
    return classify(character, &iswalpha_l, &iswalpha);
}

bool isBlankCharacter(char16_t character) {
    return classify(character, &iswblank_l, &iswblank);
}

bool isPunctuationCharacter(char16_t character) {
    return classify(character, &iswpunct_l, &iswpunct);
}
