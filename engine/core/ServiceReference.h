#pragma once

#include <type_traits>
#include <utility>

#include "engine/core/EventReceiver.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"

// A counted reference to an object whose class the holder may know only by name: a service
// from a library above the holder's. The maker, which sees the whole class, adopts the object;
// the holder hands it out and releases it without the class's definition.
template <typename T>
class CServiceReference {
public:
    CServiceReference() = default;
    // One object seen as its class, as its count and, when it is one, as an event receiver;
    // takes over the reference the caller holds.
    CServiceReference(T* object, CRefCounted* count, CEventReceiver* receiver)
        : m_object(object), m_count(count), m_receiver(receiver) {}

    // Takes over the caller's reference to an object of a complete class.
    template <typename U>
    static CServiceReference adopt(U* object) {
        if constexpr (std::is_base_of_v<CEventReceiver, U>)
            return CServiceReference(object, object, object);
        else
            return CServiceReference(object, object, nullptr);
    }

    CServiceReference(const CServiceReference& other)
        : m_object(other.m_object), m_count(other.m_count), m_receiver(other.m_receiver) {
        if (m_count)
            m_count->addRef();
    }
    CServiceReference(CServiceReference&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)),
          m_count(std::exchange(other.m_count, nullptr)),
          m_receiver(std::exchange(other.m_receiver, nullptr)) {}
    ~CServiceReference() { reset(); }

    CServiceReference& operator=(CServiceReference other) noexcept {
        std::swap(m_object, other.m_object);
        std::swap(m_count, other.m_count);
        std::swap(m_receiver, other.m_receiver);
        return *this;
    }

    void reset() {
        m_object = nullptr;
        m_receiver = nullptr;
        if (CRefCounted* count = std::exchange(m_count, nullptr))
            count->release();
    }

    // Hands the reference over to a CRefPointer, where the class is complete.
    CRefPointer<T> toRefPointer() && {
        if (m_object == nullptr) {
            reset();
            return CRefPointer<T>();
        }
        T* object = std::exchange(m_object, nullptr);
        m_count = nullptr;
        m_receiver = nullptr;
        return CRefPointer<T>(object);
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    // None when the object is not an event receiver.
    CEventReceiver* asReceiver() const { return m_receiver; }

private:
    T* m_object = nullptr;
    CRefCounted* m_count = nullptr;
    CEventReceiver* m_receiver = nullptr;
};
