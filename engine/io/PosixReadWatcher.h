#pragma once

#include <condition_variable>
#include <mutex>

#include "engine/core/RefPointer.h"
#include "engine/io/Thread.h"

// Calls a function from a thread of its own when a file descriptor has something to read, so
// that a thread waiting elsewhere (the main loop waiting for window messages) can be woken. It
// calls once, then waits for rearm: the owner reads what came and rearms it.
class CPosixReadWatcher {
public:
    using Callback = void (*)(void* context);

    CPosixReadWatcher() = default;
    CPosixReadWatcher(const CPosixReadWatcher&) = delete;
    CPosixReadWatcher& operator=(const CPosixReadWatcher&) = delete;
    ~CPosixReadWatcher() { stop(); }

    // Ends a watch that runs, then watches the descriptor, armed; false when no thread starts.
    bool start(int descriptor, Callback callback, void* context);
    // Returns once the callback can no longer be called.
    void stop();
    // Any thread may call it; cheap when the watcher is armed already.
    void rearm();
    bool isWatching() const { return m_thread.get() != nullptr; }

private:
    static int threadEntry(void* self);
    void watch();
    // Waits until armed; false when stopping.
    bool waitUntilArmed();
    void closeStopPipe();

    CRefPointer<CThread> m_thread;
    int m_stopPipe[2] = {-1, -1};
    int m_descriptor = -1;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_armed = true;
    bool m_stopping = false;
};
