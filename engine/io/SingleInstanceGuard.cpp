#include "engine/io/SingleInstanceGuard.h"

#include <cstdlib>
#include <unistd.h>

#include "engine/core/Logger.h"

namespace {

const char* const RaiseRequest = "raise";

CString defaultFolder() {
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* folder = std::getenv(variable);
        if (folder && folder[0] != 0)
            return CString(folder);
    }
    return CString("/tmp");
}

// The user id keeps two users of a shared temporary folder apart.
CString pathStem(const CString& name, const CString& folder) {
    CString stem = folder;
    stem.append("/");
    CString fileName = name;
    for (uint32_t i = 0; i < fileName.length(); ++i) {
        if (fileName[i] == '/')
            fileName[i] = '_';
    }
    stem.append(fileName);
    stem.append(".");
    stem.append(unsigned(getuid()));
    return stem;
}

} // namespace

CSingleInstanceGuard::CSingleInstanceGuard(const CString& name) {
    guard(name, defaultFolder());
}

CSingleInstanceGuard::CSingleInstanceGuard(const CString& name, const CString& folder) {
    guard(name, folder);
}

void CSingleInstanceGuard::guard(const CString& name, const CString& folder) {
    const CString stem = pathStem(name, folder);
    const CString lockPath = stem + ".lock";
    const CString socketPath = stem + ".socket";
    switch (m_lock.acquire(lockPath.c_str())) {
    case CPosixFileLock::Result::HeldElsewhere:
        m_anotherInstanceRunning = true;
        CPosixLocalSocket::send(socketPath, RaiseRequest);
        return;
    case CPosixFileLock::Result::Failed:
        CLogger::instance()->logNarrow("Single-instance guard off, cannot lock " + lockPath,
                                       CLogger::LevelWarning);
        return;
    case CPosixFileLock::Result::Acquired:
        break;
    }
    if (!m_socket.bind(socketPath))
        CLogger::instance()->logNarrow("Single-instance guard cannot listen on " + socketPath,
                                       CLogger::LevelWarning);
}

void CSingleInstanceGuard::setMainWindow(void* window) {
    m_socket.takeMessage(RaiseRequest);
    m_mainWindow = window;
}

bool CSingleInstanceGuard::takeRaiseRequest() {
    const bool requested = m_socket.takeMessage(RaiseRequest);
    m_watcher.rearm();
    return requested && m_mainWindow != nullptr;
}

bool CSingleInstanceGuard::wakeOnRequest(CPosixReadWatcher::Callback wake, void* context) {
    if (wake == nullptr) {
        m_watcher.stop();
        return true;
    }
    return m_socket.descriptor() >= 0 && m_watcher.start(m_socket.descriptor(), wake, context);
}

void CSingleInstanceGuard::release() {
    m_watcher.stop();
    m_socket.close();
    m_lock.release();
}
