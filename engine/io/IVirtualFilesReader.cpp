#include "engine/io/IVirtualFilesReader.h"

#include "engine/io/Path.h"

bool hasArchiveExtension(const CStringW& path, const char* extension) {
    const CStringW found = extensionOf(path);
    uint32_t i = 0;
    for (; extension[i] != 0; ++i) {
        char16_t ch = found[i];
        if (ch >= u'A' && ch <= u'Z') {
            ch = char16_t(ch - u'A' + u'a');
        }
        if (ch != char16_t(extension[i])) {
            return false;
        }
    }
    return i == found.length();
}
