#include "engine/io/Thread.h"

#include <system_error>

#include "engine/core/Logger.h"
#include "engine/io/PosixSignals.h"
#include "engine/io/PosixThreadNice.h"

namespace {

// Set on a thread whose object was destroyed from inside its own body.
thread_local bool t_objectGone = false;

// The two steps below and above normal that the priority classes stand for, as nice values
// (a lower nice value is a higher priority).
int niceOffsetOf(int32_t priorityClass) {
    if (priorityClass == CThread::PriorityLowest)
        return 2;
    if (priorityClass == CThread::PriorityHighest)
        return -2;
    return 0;
}

int clampNice(int nice) {
    return nice < -20 ? -20 : (nice > 19 ? 19 : nice);
}

} // namespace

CThread::CThread(EntryFunction entry, void* userData) : m_entry(entry), m_userData(userData) {}

// A thread cannot wait for itself: released from inside its own body, it runs on alone and
// touches the object no more.
CThread::~CThread() {
    if (isCallingThread()) {
        t_objectGone = true;
        m_thread.detach();
        return;
    }
    join();
}

bool CThread::isCallingThread() const {
    return m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id();
}

bool CThread::start() {
    if (m_thread.joinable())
        return false;
    m_identityPublished.store(false);
    m_running.store(true);
    try {
        m_thread = std::thread(&CThread::threadMain, this);
    } catch (const std::system_error&) {
        m_running.store(false);
        CLogger::instance()->logChars("Failed to create thread.", CLogger::LevelError);
        return false;
    }
    m_identityPublished.wait(false);
    return true;
}

bool CThread::setPriority(int32_t priorityClass) {
    std::lock_guard<std::mutex> guard(m_identityLock);
    m_priority = priorityClass;
    return m_threadId != 0 && applyPriority();
}

void CThread::join() {
    if (m_thread.joinable() && !isCallingThread())
        m_thread.join();
}

int CThread::run() {
    return m_entry ? m_entry(m_userData) : 0;
}

void CThread::threadMain() {
    const CThreadSignalStack signalStack;
    {
        std::lock_guard<std::mutex> guard(m_identityLock);
        m_threadId = currentThreadId();
        if (!getThreadNice(m_threadId, m_baseNice))
            m_baseNice = 0;
        applyPriority();
    }
    m_identityPublished.store(true);
    m_identityPublished.notify_all();
    run();
    if (t_objectGone)
        return;
    {
        std::lock_guard<std::mutex> guard(m_identityLock);
        m_threadId = 0;
    }
    m_running.store(false);
}

bool CThread::applyPriority() {
    return setThreadNice(m_threadId, clampNice(m_baseNice + niceOffsetOf(m_priority)));
}
