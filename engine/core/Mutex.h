#pragma once

#include <mutex>

#include "engine/core/RefCounted.h"

// A reference-counted lock; the same thread may take it again while it holds it.
class CMutex : public CRefCounted {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }

private:
    std::recursive_mutex m_mutex;
};
