#include "engine/io/PosixThreadNice.h"

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

pid_t currentThreadId() {
    return gettid();
}

bool getThreadNice(pid_t thread, int& nice) {
    // -1 is also a valid nice value, so only errno tells a failure apart.
    errno = 0;
    const int value = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    if (value == -1 && errno != 0)
        return false;
    nice = value;
    return true;
}

bool setThreadNice(pid_t thread, int nice) {
    return setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice) == 0;
}
