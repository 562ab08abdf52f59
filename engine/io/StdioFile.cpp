#include "engine/io/StdioFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/io/FilePosition.h"

bool CStdioFile::openForReading(const char* path) {
    close();
    // Non-blocking, so that opening a pipe without a writer cannot hang before it is refused.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    m_stream = ::fdopen(fd, "rb");
    if (!m_stream) {
        ::close(fd);
        return false;
    }
    m_length = static_cast<int32_t>(info.st_size);
    return true;
}

bool CStdioFile::openForWriting(const char* path, bool append) {
    close();
    m_stream = std::fopen(path, append ? "abe" : "wbe");
    return m_stream != nullptr;
}

void CStdioFile::close() {
    if (m_stream) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    m_length = 0;
}

int32_t CStdioFile::read(void* buffer, int32_t count) {
    if (!m_stream || count <= 0) {
        return 0;
    }
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(count), m_stream));
}

int32_t CStdioFile::readAt(int32_t position, void* buffer, int32_t count) const {
    if (!m_stream || count <= 0 || position < 0) {
        return 0;
    }
    const int fd = ::fileno(m_stream);
    int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, static_cast<uint8_t*>(buffer) + done, size_t(count - done),
                                  off_t(position) + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += int32_t(n);
    }
    return done;
}

int32_t CStdioFile::write(const void* buffer, int32_t count) {
    const int32_t position = tell();
    if (!m_stream || count <= 0 || position < 0) {
        return 0;
    }
    const int64_t room = kMaxFileSize - position;
    const size_t n = static_cast<size_t>(count < room ? count : room);
    return static_cast<int32_t>(std::fwrite(buffer, 1, n, m_stream));
}

bool CStdioFile::seek(int32_t position, bool relative) {
    const int32_t current = tell();
    if (!m_stream || current < 0) {
        return false;
    }
    const int64_t target = seekTarget(current, position, relative);
    if (target < 0 || target > kMaxFileSize) {
        return false;
    }
    return ::fseeko(m_stream, static_cast<off_t>(target), SEEK_SET) == 0;
}

int32_t CStdioFile::tell() const {
    if (!m_stream) {
        return 0;
    }
    const off_t position = ::ftello(m_stream);
    return position >= 0 && position <= kMaxFileSize ? static_cast<int32_t>(position) : -1;
}
