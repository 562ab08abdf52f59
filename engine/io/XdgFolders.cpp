#include "engine/io/XdgFolders.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

#include "engine/core/Utf.h"

namespace {

// The value as a folder name without trailing separators; empty unless it is absolute.
CStringW absoluteFolder(const char* value) {
    if (value == nullptr || value[0] != '/') {
        return CStringW();
    }
    size_t length = std::strlen(value);
    while (length > 1 && value[length - 1] == '/') {
        --length;
    }
    return utf8ToUtf16(CString(value).subString(0, uint32_t(length)).c_str());
}

CStringW homeFolder() {
    CStringW home = absoluteFolder(std::getenv("HOME"));
    if (!home.isEmpty()) {
        return home;
    }
    char buffer[4096];
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
        return CStringW();
    }
    return absoluteFolder(found->pw_dir);
}

CStringW baseFolder(const char* variable, const char16_t* belowHome) {
    CStringW folder = absoluteFolder(std::getenv(variable));
    if (!folder.isEmpty()) {
        return folder;
    }
    const CStringW home = homeFolder();
    if (home.isEmpty()) {
        return CStringW();
    }
    // The root as home would give "//.local"; one separator is enough.
    return (home == u"/" ? CStringW() : home) + belowHome;
}

} // namespace

CStringW xdgDataHome() {
    return baseFolder("XDG_DATA_HOME", u"/.local/share");
}

CStringW xdgStateHome() {
    return baseFolder("XDG_STATE_HOME", u"/.local/state");
}
