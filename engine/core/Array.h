#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Growable array. Elements with constructors are constructed and destroyed in place; trivially
// copyable elements are moved as bytes. A borrowed buffer (see borrow) is never freed.
template <typename T>
class CArray {
public:
    CArray() = default;
    CArray(const CArray& other) { copyFrom(other); }
    CArray(CArray&& other) noexcept { takeFrom(other); }
    ~CArray() { clear(); }

    CArray& operator=(const CArray& other) {
        if (this != &other) {
            clear();
            copyFrom(other);
        }
        return *this;
    }

    CArray& operator=(CArray&& other) noexcept {
        if (this != &other) {
            clear();
            takeFrom(other);
        }
        return *this;
    }

    // The element is copied aside first, so it may live in this array.
    void insert(const T& element, uint32_t index) { insertValue(T(element), index); }
    void insert(T&& element, uint32_t index) { insertValue(T(std::move(element)), index); }
    void append(const T& element) { insert(element, m_used); }
    void append(T&& element) { insert(std::move(element), m_used); }

    void appendAll(const CArray& other) {
        const uint32_t count = other.m_used;
        for (uint32_t i = 0; i < count; ++i)
            append(other.m_data[i]);
    }

    // Keeps the order of the remaining elements; false when the index is out of range.
    bool eraseAt(uint32_t index) {
        if (index >= m_used)
            return false;
        if constexpr (std::is_trivially_copyable_v<T>) {
            moveBytes(m_data + index, m_data + index + 1, m_used - index - 1);
        } else {
            for (uint32_t i = index; i + 1 < m_used; ++i)
                m_data[i] = std::move(m_data[i + 1]);
            m_data[m_used - 1].~T();
        }
        --m_used;
        return true;
    }

    // Moves the last element into the hole; cheaper than eraseAt, but changes the order.
    bool eraseAtUnordered(uint32_t index) {
        if (index >= m_used)
            return false;
        if (index != m_used - 1)
            m_data[index] = std::move(m_data[m_used - 1]);
        if constexpr (!std::is_trivially_destructible_v<T>)
            m_data[m_used - 1].~T();
        --m_used;
        m_isSorted = false;
        return true;
    }

    bool eraseValue(const T& value) {
        for (uint32_t i = 0; i < m_used; ++i) {
            if (m_data[i] == value)
                return eraseAt(i);
        }
        return false;
    }

    void clear() {
        if (m_ownsData) {
            destroyRange(m_data, m_used);
            release(m_data);
        }
        m_data = nullptr;
        m_allocated = 0;
        m_used = 0;
        m_ownsData = false;
        m_isSorted = true;
    }

    // Drops the elements from count on and keeps the buffer, so that filling the array again
    // does not allocate.
    void truncate(uint32_t count) {
        if (count >= m_used)
            return;
        destroyRange(m_data + count, m_used - count);
        m_used = count;
    }

    // Moves the elements into a new buffer of exactly count slots; elements past it are dropped.
    void reallocate(uint32_t count) {
        T* fresh = allocate(count);
        const uint32_t kept = m_used < count ? m_used : count;
        if (m_ownsData) {
            relocate(fresh, m_data, kept);
            destroyRange(m_data + kept, m_used - kept);
            release(m_data);
        } else {
            moveBytes(fresh, m_data, kept);
        }
        m_data = fresh;
        m_allocated = count;
        m_used = kept;
        m_ownsData = true;
    }

    // Views count elements that stay owned by the caller; the first insert past them copies
    // the elements into storage of the array's own.
    void borrow(T* data, uint32_t count) {
        static_assert(std::is_trivially_copyable_v<T>, "only plain elements can be borrowed");
        clear();
        m_data = data;
        m_allocated = count;
        m_used = count;
        m_isSorted = false;
    }

    T& operator[](uint32_t index) { return m_data[index]; }
    const T& operator[](uint32_t index) const { return m_data[index]; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    uint32_t size() const { return m_used; }
    uint32_t allocated() const { return m_allocated; }
    bool ownsData() const { return m_ownsData; }
    bool isSorted() const { return m_isSorted; }

    T* begin() { return m_data; }
    T* end() { return m_data + m_used; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_used; }

private:
    void insertValue(T&& value, uint32_t index) {
        if (index > m_used)
            index = m_used;
        if (m_used + 1 > m_allocated) {
            const uint32_t extra =
                m_allocated >= 500 ? m_used / 4 : (m_allocated >= 5 ? m_used : 5);
            reallocate(m_used + 1 + extra);
        }
        if constexpr (std::is_trivially_copyable_v<T>) {
            moveBytes(m_data + index + 1, m_data + index, m_used - index);
            std::memcpy(static_cast<void*>(m_data + index), &value, sizeof(T));
        } else if (index == m_used) {
            new (m_data + m_used) T(std::move(value));
        } else {
            new (m_data + m_used) T(std::move(m_data[m_used - 1]));
            for (uint32_t i = m_used - 1; i > index; --i)
                m_data[i] = std::move(m_data[i - 1]);
            m_data[index] = std::move(value);
        }
        ++m_used;
        m_isSorted = false;
    }

    void copyFrom(const CArray& other) {
        m_data = allocate(other.m_allocated);
        if constexpr (std::is_trivially_copyable_v<T>) {
            moveBytes(m_data, other.m_data, other.m_used);
        } else {
            for (uint32_t i = 0; i < other.m_used; ++i)
                new (m_data + i) T(other.m_data[i]);
        }
        m_allocated = other.m_allocated;
        m_used = other.m_used;
        m_ownsData = true;
        m_isSorted = other.m_isSorted;
    }

    void takeFrom(CArray& other) {
        m_data = std::exchange(other.m_data, nullptr);
        m_allocated = std::exchange(other.m_allocated, 0);
        m_used = std::exchange(other.m_used, 0);
        m_ownsData = std::exchange(other.m_ownsData, false);
        m_isSorted = std::exchange(other.m_isSorted, true);
    }

    static T* allocate(uint32_t count) {
        if (count == 0)
            return nullptr;
        const size_t bytes = sizeof(T) * size_t(count);
        if constexpr (alignof(T) > __STDCPP_DEFAULT_NEW_ALIGNMENT__)
            return static_cast<T*>(::operator new(bytes, std::align_val_t(alignof(T))));
        else
            return static_cast<T*>(::operator new(bytes));
    }

    static void release(T* data) {
        if constexpr (alignof(T) > __STDCPP_DEFAULT_NEW_ALIGNMENT__)
            ::operator delete(data, std::align_val_t(alignof(T)));
        else
            ::operator delete(data);
    }

    // memmove with a null pointer is undefined even for zero bytes.
    static void moveBytes(T* to, const T* from, uint32_t count) {
        if (count != 0)
            std::memmove(static_cast<void*>(to), from, sizeof(T) * size_t(count));
    }

    static void relocate(T* to, T* from, uint32_t count) {
        if constexpr (std::is_trivially_copyable_v<T>) {
            moveBytes(to, from, count);
        } else {
            for (uint32_t i = 0; i < count; ++i) {
                new (to + i) T(std::move(from[i]));
                from[i].~T();
            }
        }
    }

    static void destroyRange(T* first, uint32_t count) {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (uint32_t i = 0; i < count; ++i)
                first[i].~T();
        }
    }

    T* m_data = nullptr;
    uint32_t m_allocated = 0;
    uint32_t m_used = 0;
    bool m_ownsData = false;
    bool m_isSorted = true;
};
