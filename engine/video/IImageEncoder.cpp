#include "engine/video/IImageEncoder.h"

#include "engine/io/Path.h"

bool hasExtensionIgnoringCase(const CStringW& fileName, const char* lowerExtension) {
    const CStringW extension = extensionOf(fileName);
    uint32_t i = 0;
    for (; i < extension.length(); ++i) {
        char16_t unit = extension[i];
        if (unit >= u'A' && unit <= u'Z')
            unit = char16_t(unit - u'A' + u'a');
        if (lowerExtension[i] == 0 || unit != char16_t(lowerExtension[i]))
            return false;
    }
    return lowerExtension[i] == 0;
}
