#include "engine/core/PosixFolders.h"

#include <sys/stat.h>

#include "engine/core/String.h"

bool folderExists(const char* utf8Path) {
    struct stat info;
    return utf8Path != nullptr && stat(utf8Path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool makeFolders(const char* utf8Path) {
    if (utf8Path == nullptr || *utf8Path == 0)
        return false;
    if (folderExists(utf8Path))
        return true;
    // Each parent is made by cutting a copy of the path at its separator. Failures on the way
    // (a parent that exists but cannot be listed) only matter if the last folder is missing.
    CString path(utf8Path);
    char* text = path.data();
    for (char* at = text + 1; *at != 0; ++at) {
        if (*at != '/' || at[-1] == '/')
            continue;
        *at = 0;
        mkdir(text, 0777);
        *at = '/';
    }
    mkdir(text, 0777);
    return folderExists(text);
}
