#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <sys/types.h>
#include <thread>

#include "engine/core/RefCounted.h"

// One operating-system thread whose body is the virtual run, with its own signal stack so that
// the crash handler reports a stack overflow there too. Classes that derive from it and
// override run must make run return and join in their own destructor: by the time ~CThread
// waits, the derived part is already destroyed. Released from inside its own body (once start
// has returned), the object goes at once and the thread ends on its own.
class CThread : public virtual CRefCounted {
public:
    using EntryFunction = int (*)(void* userData);

    // Priority classes; any other value is normal.
    static constexpr int32_t PriorityLowest = 1;
    static constexpr int32_t PriorityHighest = 2;

    CThread() = default;
    // The default run calls entry with userData.
    CThread(EntryFunction entry, void* userData);
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // False when a thread was already started or cannot be created. Returns once the thread
    // runs with the stored priority class.
    bool start();
    // Stored for the next start; applied at once to a running thread. Best effort: false when
    // there is no running thread or the system refuses.
    bool setPriority(int32_t priorityClass);
    // Waits without a time limit for a started thread to end; nothing on the thread itself.
    void join();
    // From start until run returns.
    bool isRunning() const { return m_running.load(); }

protected:
    ~CThread() override;
    virtual int run();

private:
    bool isCallingThread() const;
    void threadMain();
    // Needs m_identityLock held and a live thread.
    bool applyPriority();

    std::thread m_thread;
    EntryFunction m_entry = nullptr;
    void* m_userData = nullptr;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_identityPublished{false};
    // Guards the kernel id against reuse: it is cleared, under the lock, before the thread ends.
    std::mutex m_identityLock;
    pid_t m_threadId = 0;
    int m_baseNice = 0;
    int32_t m_priority = 0;
};
