#pragma once

#include <cstdint>
#include <type_traits>

// The engine's string for 8-bit characters (CString) and UTF-16 code units (CStringW).
// `used` counts the terminating zero, so an empty string has used 1. Growth is exact and the
// buffer never shrinks. Converting between the widths goes character by character: a byte is
// widened as a signed value (0x80..0xFF become 0xFF80..0xFFFF) and a code unit is narrowed to
// its low byte. Text for the operating system goes through Utf.h instead.
template <typename Char>
class CStringBase {
    static_assert(std::is_same_v<Char, char> || std::is_same_v<Char, char16_t>);
    using Other = std::conditional_t<std::is_same_v<Char, char>, char16_t, char>;

public:
    CStringBase();
    CStringBase(const Char* text);
    explicit CStringBase(const Other* text);
    CStringBase(const CStringBase& other);
    CStringBase(CStringBase&& other) noexcept;
    explicit CStringBase(int value);
    explicit CStringBase(unsigned value);
    // Six decimals, as "%0f" prints them, whatever the process locale.
    explicit CStringBase(float value);
    ~CStringBase();

    CStringBase& operator=(const Char* text);
    CStringBase& operator=(const Other* text);
    CStringBase& operator=(const CStringBase& other);
    CStringBase& operator=(CStringBase&& other) noexcept;
    // Exactly count characters of text, which need hold no terminator; a null text gives an
    // empty string. The text may lie in the string's own buffer.
    CStringBase& assign(const Char* text, uint32_t count);

    // A null text is ignored.
    CStringBase& append(const Char* text);
    CStringBase& append(const Other* text);
    CStringBase& append(const CStringBase& other);
    CStringBase& append(int value);
    CStringBase& append(unsigned value);
    CStringBase& append(float value);

    CStringBase operator+(const CStringBase& right) const;
    CStringBase operator+(const Char* right) const;
    CStringBase operator+(const Other* right) const;

    bool operator==(const CStringBase& other) const;
    // False for a null text.
    bool operator==(const Char* text) const;

    // The key order of string-keyed maps: the first differing character decides (bytes compared
    // as signed values, code units as unsigned ones), else the shorter string is the smaller.
    bool lessThan(const CStringBase& other) const;
    bool operator<(const CStringBase& other) const { return lessThan(other); }

    // A buffer of exactly count characters (at least one), cutting the text when it is shorter.
    void reallocate(uint32_t count);

    // Count is clamped to the end of the text; an index at or past the end gives an empty string.
    CStringBase subString(uint32_t index, uint32_t count) const;
    // The characters from index to the end; empty for an index at or past the end.
    CStringBase subStringFrom(uint32_t index) const requires std::is_same_v<Char, char16_t> {
        return subString(index, length());
    }

    // Removes spaces, tabs, line feeds and carriage returns from both ends.
    void trim() requires std::is_same_v<Char, char>;

    // Searches answer an index or -1. The terminator's position counts as part of the string.
    int findFirst(Char ch) const requires std::is_same_v<Char, char16_t>;
    int findLastOf(const Char* list, uint32_t count) const requires std::is_same_v<Char, char16_t>;
    // Bytes are taken as signed values, so 0x80..0xFF never match.
    int find(const char* text) const requires std::is_same_v<Char, char16_t>;
    // A negative start, or one at or past the end, searches from the terminator down.
    int findLast(Char ch, int start = -1) const requires std::is_same_v<Char, char16_t>;

    // Shared empty string for missing names and values; never destroyed, so it stays valid in
    // static destructors.
    static const CStringBase& emptyString();

    const Char* c_str() const { return m_buffer; }
    // Writable within allocated(). A string without a buffer of its own (a moved-from one)
    // gets a one-character buffer first, so no write reaches the shared zero.
    Char* data() {
        ownBuffer();
        return m_buffer;
    }
    Char operator[](uint32_t index) const { return m_buffer[index]; }
    Char& operator[](uint32_t index) {
        ownBuffer();
        return m_buffer[index];
    }
    uint32_t length() const { return m_used - 1; }
    bool isEmpty() const { return m_used <= 1; }
    uint32_t used() const { return m_used; }
    uint32_t allocated() const { return m_allocated; }

private:
    struct NoBuffer {};
    explicit CStringBase(NoBuffer);

    // Both take count characters of text (none when count is 0) and add the terminator.
    template <typename From>
    void assignText(const From* text, uint32_t count);
    template <typename From>
    void appendText(const From* text, uint32_t count);
    // Frees the old buffer when buffer is a new one that the text was copied into.
    void adoptBuffer(Char* buffer, uint32_t allocated);
    void ownBuffer() {
        if (m_allocated == 0)
            reallocate(1);
    }

    // A string without a buffer points at a shared zero and has allocated 0.
    Char* m_buffer;
    uint32_t m_allocated;
    uint32_t m_used;
};

using CString = CStringBase<char>;
using CStringW = CStringBase<char16_t>;

// Left text first: the text converted to the string's width, then the string appended.
template <typename Char>
CStringBase<Char> operator+(const char* left, const CStringBase<Char>& right) {
    CStringBase<Char> result(left);
    result.append(right);
    return result;
}

template <typename Char>
CStringBase<Char> operator+(const char16_t* left, const CStringBase<Char>& right) {
    CStringBase<Char> result(left);
    result.append(right);
    return result;
}

extern template class CStringBase<char>;
extern template class CStringBase<char16_t>;
