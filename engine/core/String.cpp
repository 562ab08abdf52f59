#include "engine/core/String.h"

#include <charconv>
#include <cstring>

namespace {

template <typename Char>
Char* allocateChars(uint32_t count) {
    return static_cast<Char*>(::operator new(sizeof(Char) * size_t(count)));
}

template <typename Char>
Char* sharedZero() {
    static Char zero = 0;
    return &zero;
}

template <typename Char>
uint32_t textLength(const Char* text) {
    uint32_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

template <typename To, typename From>
To convertChar(From ch) {
    if constexpr (std::is_same_v<To, From>)
        return ch;
    else if constexpr (std::is_same_v<To, char16_t>)
        return To(static_cast<signed char>(ch));
    else
        return To(ch & 0xFF);
}

template <typename To, typename From>
void copyChars(To* to, const From* from, uint32_t count) {
    if constexpr (std::is_same_v<To, From>) {
        std::memmove(to, from, sizeof(To) * size_t(count));
    } else {
        for (uint32_t i = 0; i < count; ++i)
            to[i] = convertChar<To>(from[i]);
    }
}

// Digits right to left into a 16-character work buffer; answers the first used position.
uint32_t formatUnsigned(char (&work)[16], unsigned value) {
    uint32_t first = sizeof(work);
    do {
        work[--first] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return first;
}

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

} // namespace

template <typename Char>
CStringBase<Char>::CStringBase(NoBuffer)
    : m_buffer(sharedZero<Char>()), m_allocated(0), m_used(1) {}

template <typename Char>
CStringBase<Char>::CStringBase() : m_buffer(allocateChars<Char>(1)), m_allocated(1), m_used(1) {
    m_buffer[0] = 0;
}

template <typename Char>
CStringBase<Char>::CStringBase(const Char* text) : CStringBase(NoBuffer{}) {
    *this = text;
}

template <typename Char>
CStringBase<Char>::CStringBase(const Other* text) : CStringBase(NoBuffer{}) {
    *this = text;
}

template <typename Char>
CStringBase<Char>::CStringBase(const CStringBase& other) : CStringBase(NoBuffer{}) {
    *this = other;
}

template <typename Char>
CStringBase<Char>::CStringBase(CStringBase&& other) noexcept : CStringBase(NoBuffer{}) {
    *this = static_cast<CStringBase&&>(other);
}

template <typename Char>
CStringBase<Char>::CStringBase(int value) : CStringBase(NoBuffer{}) {
    char work[16];
    const unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    uint32_t first = formatUnsigned(work, magnitude);
    if (value < 0)
        work[--first] = '-';
    appendText(work + first, uint32_t(sizeof(work)) - first);
}

template <typename Char>
CStringBase<Char>::CStringBase(unsigned value) : CStringBase(NoBuffer{}) {
    char work[16];
    const uint32_t first = formatUnsigned(work, value);
    appendText(work + first, uint32_t(sizeof(work)) - first);
}

template <typename Char>
CStringBase<Char>::CStringBase(float value) : CStringBase(NoBuffer{}) {
    // to_chars never looks at the locale, unlike the printf family.
    char work[256];
    const std::to_chars_result result =
        std::to_chars(work, work + sizeof(work) - 1, value, std::chars_format::fixed, 6);
    appendText(work, result.ec == std::errc() ? uint32_t(result.ptr - work) : 0);
}

template <typename Char>
CStringBase<Char>::~CStringBase() {
    if (m_allocated != 0)
        ::operator delete(m_buffer);
}

template <typename Char>
void CStringBase<Char>::adoptBuffer(Char* buffer, uint32_t allocated) {
    if (buffer == m_buffer)
        return;
    if (m_allocated != 0)
        ::operator delete(m_buffer);
    m_buffer = buffer;
    m_allocated = allocated;
}

template <typename Char>
template <typename From>
void CStringBase<Char>::assignText(const From* text, uint32_t count) {
    if constexpr (std::is_same_v<From, Char>) {
        // Only a buffer of its own: a string without one gets one when it is assigned.
        if (text == m_buffer && count == m_used - 1 && m_allocated != 0)
            return;
    }
    const uint32_t used = count + 1;
    // Compared with count rather than used so that no wrapped size can select the shared zero.
    Char* buffer = m_allocated <= count ? allocateChars<Char>(used) : m_buffer;
    // A text inside our own buffer fits in it, so it is copied in place.
    if (count != 0)
        copyChars(buffer, text, count);
    buffer[count] = 0;
    adoptBuffer(buffer, used);
    m_used = used;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::operator=(const Char* text) {
    assignText(text, text != nullptr ? textLength(text) : 0);
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::operator=(const Other* text) {
    assignText(text, text != nullptr ? textLength(text) : 0);
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::assign(const Char* text, uint32_t count) {
    assignText(text, text != nullptr ? count : 0);
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::operator=(const CStringBase& other) {
    assignText(other.m_buffer, other.m_used - 1);
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::operator=(CStringBase&& other) noexcept {
    if (this == &other)
        return *this;
    Char* buffer = m_buffer;
    const uint32_t allocated = m_allocated;
    const uint32_t used = m_used;
    m_buffer = other.m_buffer;
    m_allocated = other.m_allocated;
    m_used = other.m_used;
    other.m_buffer = buffer;
    other.m_allocated = allocated;
    other.m_used = used;
    return *this;
}

template <typename Char>
template <typename From>
void CStringBase<Char>::appendText(const From* text, uint32_t count) {
    const uint32_t used = m_used + count;
    Char* buffer = m_buffer;
    if (m_allocated < used || m_allocated == 0) {
        buffer = allocateChars<Char>(used);
        std::memcpy(buffer, m_buffer, sizeof(Char) * size_t(m_used - 1));
    }
    // The old buffer lives until the copy is done: the text may be part of it.
    copyChars(buffer + m_used - 1, text, count);
    buffer[used - 1] = 0;
    adoptBuffer(buffer, used);
    m_used = used;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(const Char* text) {
    if (text != nullptr)
        appendText(text, textLength(text));
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(const Other* text) {
    if (text != nullptr)
        appendText(text, textLength(text));
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(const CStringBase& other) {
    appendText(other.m_buffer, other.m_used - 1);
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(int value) {
    append(CStringBase(value));
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(unsigned value) {
    append(CStringBase(value));
    return *this;
}

template <typename Char>
CStringBase<Char>& CStringBase<Char>::append(float value) {
    append(CStringBase(value));
    return *this;
}

template <typename Char>
CStringBase<Char> CStringBase<Char>::operator+(const CStringBase& right) const {
    CStringBase result(*this);
    result.append(right);
    return result;
}

template <typename Char>
CStringBase<Char> CStringBase<Char>::operator+(const Char* right) const {
    CStringBase result(*this);
    result.append(right);
    return result;
}

template <typename Char>
CStringBase<Char> CStringBase<Char>::operator+(const Other* right) const {
    CStringBase result(*this);
    result.append(right);
    return result;
}

template <typename Char>
bool CStringBase<Char>::operator==(const CStringBase& other) const {
    if (m_used != other.m_used)
        return false;
    for (uint32_t i = 0;; ++i) {
        if (m_buffer[i] != other.m_buffer[i])
            return false;
        if (m_buffer[i] == 0)
            return true;
    }
}

template <typename Char>
bool CStringBase<Char>::operator==(const Char* text) const {
    if (text == nullptr)
        return false;
    for (uint32_t i = 0;; ++i) {
        if (m_buffer[i] != text[i])
            return false;
        if (text[i] == 0)
            return true;
    }
}

template <typename Char>
bool CStringBase<Char>::lessThan(const CStringBase& other) const {
    using Unit = std::conditional_t<std::is_same_v<Char, char>, signed char, char16_t>;
    const uint32_t shorter = (m_used < other.m_used ? m_used : other.m_used) - 1;
    for (uint32_t i = 0; i < shorter; ++i) {
        const Unit mine = Unit(m_buffer[i]);
        const Unit theirs = Unit(other.m_buffer[i]);
        if (mine != theirs)
            return mine < theirs;
    }
    return m_used < other.m_used;
}

template <typename Char>
void CStringBase<Char>::reallocate(uint32_t count) {
    if (count == 0)
        count = 1;
    Char* buffer = allocateChars<Char>(count);
    const uint32_t kept = m_used < count ? m_used : count;
    std::memcpy(buffer, m_buffer, sizeof(Char) * size_t(kept));
    adoptBuffer(buffer, count);
    m_used = kept;
    // Cutting the text drops its terminator; put one back so the string stays whole.
    m_buffer[m_used - 1] = 0;
}

template <typename Char>
CStringBase<Char> CStringBase<Char>::subString(uint32_t index, uint32_t count) const {
    const uint32_t length = m_used - 1;
    if (count == 0 || index >= length)
        return CStringBase();
    if (count > length - index)
        count = length - index;
    CStringBase result(NoBuffer{});
    result.assignText(m_buffer + index, count);
    return result;
}

template <typename Char>
void CStringBase<Char>::trim() requires std::is_same_v<Char, char> {
    uint32_t end = m_used - 1;
    while (end > 0 && isBlank(m_buffer[end - 1]))
        --end;
    uint32_t begin = 0;
    while (begin < end && isBlank(m_buffer[begin]))
        ++begin;
    if (begin == 0 && end == m_used - 1)
        return;
    std::memmove(m_buffer, m_buffer + begin, end - begin);
    m_buffer[end - begin] = 0;
    m_used = end - begin + 1;
}

template <typename Char>
int CStringBase<Char>::findFirst(Char ch) const requires std::is_same_v<Char, char16_t> {
    for (uint32_t i = 0; i < m_used; ++i) {
        if (m_buffer[i] == ch)
            return int(i);
    }
    return -1;
}

template <typename Char>
int CStringBase<Char>::findLastOf(const Char* list,
                                  uint32_t count) const requires std::is_same_v<Char, char16_t> {
    if (list == nullptr)
        return -1;
    for (uint32_t i = m_used; i-- > 0;) {
        for (uint32_t k = 0; k < count; ++k) {
            if (m_buffer[i] == list[k])
                return int(i);
        }
    }
    return -1;
}

template <typename Char>
int CStringBase<Char>::find(const char* text) const requires std::is_same_v<Char, char16_t> {
    if (text == nullptr || text[0] == 0)
        return -1;
    const uint32_t count = textLength(text);
    const uint32_t length = m_used - 1;
    if (count > length)
        return -1;
    for (uint32_t start = 0; start + count <= length; ++start) {
        uint32_t k = 0;
        while (k < count && int(static_cast<signed char>(text[k])) == int(m_buffer[start + k]))
            ++k;
        if (k == count)
            return int(start);
    }
    return -1;
}

template <typename Char>
int CStringBase<Char>::findLast(Char ch, int start) const requires std::is_same_v<Char, char16_t> {
    const int last = int(m_used) - 1;
    const int from = (start < 0 || start > last) ? last : start;
    for (int i = from; i >= 0; --i) {
        if (m_buffer[i] == ch)
            return i;
    }
    return -1;
}

template <typename Char>
const CStringBase<Char>& CStringBase<Char>::emptyString() {
    static const CStringBase* const empty = new CStringBase();
    return *empty;
}

template class CStringBase<char>;
template class CStringBase<char16_t>;
