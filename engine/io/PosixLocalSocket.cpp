#include "engine/io/PosixLocalSocket.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool makeAddress(const CString& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.used() > sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.used());
    return true;
}

} // namespace

bool CPosixLocalSocket::bind(const CString& path) {
    close();
    sockaddr_un address;
    if (!makeAddress(path, address))
        return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void CPosixLocalSocket::close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    unlink(m_path.c_str());
    m_fd = -1;
}

bool CPosixLocalSocket::takeMessage(const char* text) {
    const size_t length = std::strlen(text);
    bool found = false;
    char buffer[64];
    ssize_t received;
    while (m_fd >= 0 && (received = recv(m_fd, buffer, sizeof(buffer), 0)) >= 0) {
        if (size_t(received) == length && std::memcmp(buffer, text, length) == 0)
            found = true;
    }
    return found;
}

bool CPosixLocalSocket::send(const CString& path, const char* text) {
    sockaddr_un address;
    if (!makeAddress(path, address))
        return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const ssize_t sent = sendto(fd, text, std::strlen(text), MSG_DONTWAIT,
                                reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    ::close(fd);
    return sent >= 0;
}
