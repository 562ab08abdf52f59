#include "engine/io/Path.h"

#include <climits>
#include <cwctype>
#include <unistd.h>

#include "engine/core/Array.h"
#include "engine/core/Utf.h"

namespace {

int lastSeparatorOf(const CStringW& path) {
    return path.findLastOf(pathSeparators, 2);
}

// Index of the first separator at or after from; the length when there is none.
uint32_t nextSeparator(const CStringW& path, uint32_t from) {
    while (from < path.length() && !isPathSeparator(path[from])) {
        ++from;
    }
    return from;
}

bool isComponent(const CStringW& path, uint32_t start, uint32_t end, const char* text) {
    uint32_t i = 0;
    for (; text[i] != 0; ++i) {
        if (start + i >= end || path[start + i] != char16_t(text[i])) {
            return false;
        }
    }
    return start + i == end;
}

// Whether path begins with the text followed by a separator ("./" or "..\\").
bool beginsWithStep(const CStringW& path, const char* text) {
    const uint32_t end = nextSeparator(path, 0);
    return end < path.length() && isComponent(path, 0, end, text);
}

// The folder above folder, or empty when it has no separator left.
CStringW parentOf(const CStringW& folder) {
    const int separator = lastSeparatorOf(folder);
    return separator < 0 ? CStringW() : folder.subString(0, uint32_t(separator));
}

// Joins the components of an absolute path with '/', dropping empty and "." components and
// letting ".." remove the one before it; nothing climbs above the root.
CStringW normaliseAbsolute(const CStringW& path) {
    CArray<CStringW> components;
    for (uint32_t start = 0; start <= path.length();) {
        const uint32_t end = nextSeparator(path, start);
        if (isComponent(path, start, end, "..")) {
            if (components.size() > 0) {
                components.eraseAt(components.size() - 1);
            }
        } else if (end > start && !isComponent(path, start, end, ".")) {
            components.append(path.subString(start, end - start));
        }
        start = end + 1;
    }
    CStringW result;
    for (const CStringW& component : components) {
        result.append(u"/");
        result.append(component);
    }
    const bool endsWithSeparator = path.length() > 0 && isPathSeparator(path[path.length() - 1]);
    if (components.size() == 0 || endsWithSeparator) {
        result.append(u"/");
    }
    return result;
}

} // namespace

bool isPathSeparator(char16_t ch) {
    return ch == u'/' || ch == u'\\';
}

CStringW getRootPart(const CStringW& path) {
    const uint32_t length = path.length();
    if (length >= 2 && path[1] == u':') {
        return path.subString(0, 1);
    }
    if (length >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1])) {
        const uint32_t afterServer = nextSeparator(path, 2);
        const uint32_t afterShare = nextSeparator(path, afterServer + 1);
        return afterShare < length ? path.subString(0, afterShare) : path;
    }
    if (length >= 1 && isPathSeparator(path[0])) {
        return CStringW(u"/");
    }
    return CStringW();
}

CStringW getDirectoryPart(const CStringW& path) {
    const int last = path.findLastOf(u"/\\:", 3);
    return last > 0 ? path.subString(0, uint32_t(last) + 1) : CStringW();
}

CStringW extensionOf(const CStringW& path) {
    const int dot = path.findLast(u'.');
    return dot >= 0 && dot > lastSeparatorOf(path) ? path.subStringFrom(uint32_t(dot) + 1)
                                                   : CStringW();
}

CStringW lowerCaseExtensionOf(const CStringW& path) {
    CStringW extension = extensionOf(path);
    for (uint32_t i = 0; i < extension.length(); ++i)
        extension[i] = char16_t(std::towlower(wint_t(extension[i])));
    return extension;
}

CStringW makeRelativePath(const CStringW& base, const CStringW& path) {
    if (base.isEmpty() || getRootPart(base) != getRootPart(path)) {
        return path;
    }
    uint32_t start = 0;
    for (uint32_t i = 0; i < base.length() && i < path.length(); ++i) {
        if (isPathSeparator(base[i]) && isPathSeparator(path[i])) {
            start = i + 1;
        } else if (base[i] != path[i]) {
            break;
        }
    }
    CStringW result;
    for (uint32_t i = start; i < base.length(); ++i) {
        if (isPathSeparator(base[i])) {
            result.append(u"../");
        }
    }
    result.append(path.subStringFrom(start));
    return withForwardSlashes(result);
}

CStringW resolveRelativePath(const CStringW& base, const CStringW& path) {
    const int separator = lastSeparatorOf(base);
    if (base.isEmpty() || !getRootPart(path).isEmpty() || separator < 0) {
        return path;
    }
    // A rooted base keeps its root however many "../" steps there are.
    const bool rooted = isPathSeparator(base[0]);
    CStringW folder = base.subString(0, uint32_t(separator));
    CStringW rest = path;
    for (;;) {
        if (beginsWithStep(rest, "..")) {
            rest = rest.subStringFrom(3);
            folder = parentOf(folder);
        } else if (beginsWithStep(rest, ".")) {
            rest = rest.subStringFrom(2);
        } else {
            break;
        }
    }
    if (folder.isEmpty()) {
        return rooted ? u"/" + rest : rest;
    }
    return folder + u"/" + rest;
}

CStringW currentDirectory() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof(buffer))) {
        return CStringW();
    }
    return utf8ToUtf16(buffer);
}

CStringW getFullPath(const CStringW& path) {
    if (path.isEmpty()) {
        return CStringW();
    }
    if (isPathSeparator(path[0])) {
        return normaliseAbsolute(path);
    }
    const CStringW directory = currentDirectory();
    if (directory.isEmpty()) {
        return CStringW();
    }
    return normaliseAbsolute(directory + u"/" + path);
}

CStringW withForwardSlashes(const CStringW& path) {
    CStringW slashed = path;
    for (uint32_t i = 0; i < slashed.length(); ++i) {
        if (slashed[i] == u'\\') {
            slashed[i] = u'/';
        }
    }
    return slashed;
}

bool hasParentStep(const CStringW& path) {
    uint32_t start = 0;
    for (uint32_t i = 0; i <= path.length(); ++i) {
        if (i < path.length() && !isPathSeparator(path[i]))
            continue;
        if (i - start == 2 && path[start] == u'.' && path[start + 1] == u'.')
            return true;
        start = i + 1;
    }
    return false;
}

CString toDiskPath(const CStringW& path) {
    return utf16ToUtf8(withForwardSlashes(path).c_str());
}
