#pragma once

#include "engine/core/String.h"
#include "engine/io/PosixFileLock.h"
#include "engine/io/PosixLocalSocket.h"
#include "engine/io/PosixReadWatcher.h"

// Keeps a second copy of the program from running. The first instance holds a file lock, which
// the kernel drops when the process dies, and listens on a local socket; a later start finds
// the lock taken, asks the first instance to restore and raise its window, and gives up.
// When the guard cannot work at all it logs why and lets the program run.
class CSingleInstanceGuard {
public:
    // Lock and socket live in $XDG_RUNTIME_DIR, else in the temporary folder.
    explicit CSingleInstanceGuard(const CString& name);
    // Lock and socket live in the given folder.
    CSingleInstanceGuard(const CString& name, const CString& folder);
    CSingleInstanceGuard(const CSingleInstanceGuard&) = delete;
    CSingleInstanceGuard& operator=(const CSingleInstanceGuard&) = delete;
    ~CSingleInstanceGuard() { release(); }

    bool isAnotherInstanceRunning() const { return m_anotherInstanceRunning; }
    // Requests that arrived before the window existed are dropped: there was nothing to raise.
    void setMainWindow(void* window);
    // For the main loop: true once for every burst of requests from later starts, and only
    // after setMainWindow; the caller then restores and raises its window.
    bool takeRaiseRequest();
    // From now on a request calls wake, from a thread of the guard's, once until the next
    // takeRaiseRequest: the main loop may be waiting for window messages while its window is
    // minimised. False when the guard does not listen or no thread starts. A null function
    // stops the calls; the guard returns only once none can come.
    bool wakeOnRequest(CPosixReadWatcher::Callback wake, void* context);
    void release();

private:
    void guard(const CString& name, const CString& folder);

    CPosixFileLock m_lock;
    CPosixLocalSocket m_socket;
    CPosixReadWatcher m_watcher;
    void* m_mainWindow = nullptr;
    bool m_anotherInstanceRunning = false;
};
