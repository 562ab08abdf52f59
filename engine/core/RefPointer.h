#pragma once

#include <cstddef>
#include <utility>

// Holder of one reference to a CRefCounted-derived object; null is allowed.
template <typename T>
class CRefPointer {
public:
    CRefPointer() = default;
    CRefPointer(std::nullptr_t) {}
    // Adopts the reference the caller holds: factories hand out new objects with count 1.
    explicit CRefPointer(T* object) : m_object(object) {}

    CRefPointer(const CRefPointer& other) : m_object(other.m_object) { addRefIfSet(); }
    CRefPointer(CRefPointer&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}

    template <typename U>
    CRefPointer(const CRefPointer<U>& other) : m_object(other.get()) {
        addRefIfSet();
    }

    ~CRefPointer() {
        if (m_object) {
            m_object->release();
        }
    }

    CRefPointer& operator=(const CRefPointer& other) {
        assign(other.m_object);
        return *this;
    }

    CRefPointer& operator=(CRefPointer&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(m_object, std::exchange(other.m_object, nullptr));
            if (old) {
                old->release();
            }
        }
        return *this;
    }

    // Takes a new reference to an object that someone else already owns.
    static CRefPointer share(T* object) {
        CRefPointer pointer(object);
        pointer.addRefIfSet();
        return pointer;
    }

    // Gives up the held reference without releasing it; the caller now owns it.
    T* detach() { return std::exchange(m_object, nullptr); }

    void reset() { *this = CRefPointer(); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    bool operator==(const CRefPointer& other) const { return m_object == other.m_object; }
    bool operator==(const T* object) const { return m_object == object; }

private:
    void addRefIfSet() {
        if (m_object) {
            m_object->addRef();
        }
    }

    // The new object gains its reference before the old one is released, in case the
    // old object is what keeps the new one alive.
    void assign(T* object) {
        if (object == m_object) {
            return;
        }
        T* old = m_object;
        m_object = object;
        addRefIfSet();
        if (old) {
            old->release();
        }
    }

    T* m_object = nullptr;
};
