#include "engine/io/PosixReadWatcher.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

bool CPosixReadWatcher::start(int descriptor, Callback callback, void* context) {
    stop();
    if (descriptor < 0 || callback == nullptr || ::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        return false;
    m_descriptor = descriptor;
    m_callback = callback;
    m_context = context;
    m_armed = true;
    m_stopping = false;
    m_thread = CRefPointer<CThread>(new CThread(&CPosixReadWatcher::threadEntry, this));
    if (m_thread->start())
        return true;
    m_thread.reset();
    closeStopPipe();
    return false;
}

void CPosixReadWatcher::stop() {
    if (!m_thread)
        return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_changed.notify_one();
    const char stop = 0;
    // A full pipe means a stop is pending already.
    [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &stop, 1);
    m_thread->join();
    m_thread.reset();
    closeStopPipe();
}

void CPosixReadWatcher::rearm() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_armed)
            return;
        m_armed = true;
    }
    m_changed.notify_one();
}

void CPosixReadWatcher::closeStopPipe() {
    for (int& end : m_stopPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

int CPosixReadWatcher::threadEntry(void* self) {
    static_cast<CPosixReadWatcher*>(self)->watch();
    return 0;
}

bool CPosixReadWatcher::waitUntilArmed() {
    std::unique_lock<std::mutex> guard(m_lock);
    m_changed.wait(guard, [this] { return m_armed || m_stopping; });
    return !m_stopping;
}

void CPosixReadWatcher::watch() {
    while (waitUntilArmed()) {
        pollfd watched[2] = {{m_descriptor, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLNVAL)) != 0)
            return;
        if ((watched[0].revents & POLLIN) == 0)
            continue;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_armed = false;
        }
        m_callback(m_context);
    }
}
