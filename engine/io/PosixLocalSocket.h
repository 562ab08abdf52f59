#pragma once

#include "engine/core/String.h"

// A datagram socket bound to a path, over which processes of one user pass short messages.
class CPosixLocalSocket {
public:
    CPosixLocalSocket() = default;
    CPosixLocalSocket(const CPosixLocalSocket&) = delete;
    CPosixLocalSocket& operator=(const CPosixLocalSocket&) = delete;
    ~CPosixLocalSocket() { close(); }

    // Replaces whatever a dead process left at the path, so only call it while holding the lock
    // that owns the path. False when the path is too long or the socket cannot be made.
    bool bind(const CString& path);
    // Closes the socket and removes its path.
    void close();

    // -1 while not bound.
    int descriptor() const { return m_fd; }
    // Reads every queued message without waiting; true when one of them was the given text.
    bool takeMessage(const char* text);
    // Never waits: a listener that does not read must not hang the sender. False when nobody
    // listens at the path or its queue is full.
    static bool send(const CString& path, const char* text);

private:
    int m_fd = -1;
    CString m_path;
};
