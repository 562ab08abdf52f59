#pragma once

#include <cassert>
#include <cstdint>

// Intrusive reference count of engine objects, nodes, events and property values.
// A new object holds one reference, owned by whoever created it. Counts are plain
// integers: reference-counted objects are shared on the main thread only.
class CRefCounted {
public:
    CRefCounted() = default;
    // A copy is a new object with its own single reference.
    CRefCounted(const CRefCounted&) {}
    CRefCounted& operator=(const CRefCounted&) { return *this; }

    void addRef() { ++m_refCount; }

    // Drops one reference; destroys the object and returns true when it was the last.
    bool release() {
        assert(m_refCount > 0 && "reference count below zero");
        if (--m_refCount > 0) {
            return false;
        }
        delete this;
        return true;
    }

    std::int32_t getRefCount() const { return m_refCount; }

protected:
    virtual ~CRefCounted() = default;

private:
    std::int32_t m_refCount = 1;
};
