#include "engine/io/PosixTextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool readSmallTextFile(const char* path, CString& text) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const uint32_t limit = 1024 * 1024;
    text = "";
    char chunk[4097];
    ssize_t count;
    bool ok = true;
    while ((count = read(fd, chunk, sizeof(chunk) - 1)) != 0) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || text.length() + uint32_t(count) > limit) {
            ok = false;
            break;
        }
        chunk[count] = 0;
        text.append(chunk);
    }
    close(fd);
    return ok;
}
