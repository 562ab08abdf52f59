#include "engine/io/PosixFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CPosixFileLock::Result CPosixFileLock::acquire(const char* path) {
    release();
    // No symbolic links: the folder may be the shared temporary folder.
    const int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        close(fd);
        return heldElsewhere ? Result::HeldElsewhere : Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

void CPosixFileLock::release() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}
