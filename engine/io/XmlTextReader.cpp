#include "engine/io/XmlTextReader.h"

#include <climits>
#include <cstring>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/StringFunctions.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Scans stop at one of a set of characters below 64, kept as a bit mask. The terminating zero
// is in every set, so no scan runs past the end of the text.
constexpr uint64_t bit(char16_t ch) {
    return uint64_t(1) << ch;
}
constexpr uint64_t kBlanks = bit(' ') | bit('\t') | bit('\r') | bit('\n');
constexpr uint64_t kElementNameEnd = bit(0) | kBlanks | bit('>');
constexpr uint64_t kAttributeNameEnd = bit(0) | kBlanks | bit('=');
constexpr uint64_t kQuoteOrEnd = bit(0) | bit('"') | bit('\'');
constexpr uint64_t kTagEnd = bit(0) | bit('>');

bool isIn(char16_t ch, uint64_t set) {
    return ch < 64 && (set >> ch & 1) != 0;
}

char16_t* skipUntil(char16_t* p, uint64_t set) {
    while (!isIn(*p, set))
        ++p;
    return p;
}

char16_t* skipBlanks(char16_t* p) {
    while (isIn(*p, kBlanks))
        ++p;
    return p;
}

// The next '<' or the terminator, and with withAmpersand also the next '&'. Loads eight
// characters at a time, which the decoded text's padding allows up to the terminator.
template <bool withAmpersand>
char16_t* findMarkup(char16_t* p) {
#if defined(__SSE2__)
    const __m128i less = _mm_set1_epi16('<');
    const __m128i ampersand = _mm_set1_epi16('&');
    const __m128i zero = _mm_setzero_si128();
    for (;; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(chars, less), _mm_cmpeq_epi16(chars, zero));
        if constexpr (withAmpersand)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, ampersand));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return p + __builtin_ctz(unsigned(mask)) / 2;
    }
#else
    while (*p != '<' && *p != 0 && !(withAmpersand && *p == '&'))
        ++p;
    return p;
#endif
}

// Text of fewer than three characters, all blanks, lies between tags unreported.
bool isShortBlank(const char16_t* begin, const char16_t* end) {
    if (end - begin >= 3)
        return false;
    for (const char16_t* p = begin; p < end; ++p) {
        if (!isIn(*p, kBlanks))
            return false;
    }
    return true;
}

CArray<CStringW>& entityList() {
    static CArray<CStringW> list = [] {
        CArray<CStringW> entities;
        for (const char16_t* definition :
             {u"&amp;", u"<lt;", u">gt;", u"\"quot;", u"'apos;", u"\r#xD;", u"\n#xA;"})
            entities.append(CStringW(definition));
        return entities;
    }();
    return list;
}

// Replaces the entities in [begin, end) in place, scanning once from the start: a replaced
// character is never looked at again. The text only shrinks; answers its new end.
char16_t* replaceEntities(char16_t* begin, char16_t* end) {
    const CArray<CStringW>& entities = entityList();
    char16_t* out = begin;
    for (const char16_t* in = begin; in < end;) {
        char16_t ch = *in++;
        if (ch == '&') {
            for (const CStringW& entity : entities) {
                const size_t nameLength = entity.length() - 1;
                if (size_t(end - in) >= nameLength &&
                    std::memcmp(in, entity.c_str() + 1, nameLength * sizeof(char16_t)) == 0) {
                    ch = entity[0];
                    in += nameLength;
                    break;
                }
            }
        }
        *out++ = ch;
    }
    return out;
}

// Copies [begin, end) of the text into a string. Names and indentation repeat from node to node,
// so a string that already holds the text is left alone.
void assignRange(CStringW& to, const char16_t* begin, const char16_t* end) {
    const size_t length = size_t(end - begin);
    if (to.length() == length && std::memcmp(to.c_str(), begin, length * sizeof(char16_t)) == 0)
        return;
    to.assign(begin, uint32_t(length));
}

int32_t saturate(float value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return int32_t(value);
}

// The number the float reader sees, truncated toward zero. Without an exponent the integer
// digits are counted exactly rather than in float, which would round values past 2^24.
int32_t readInt(const char16_t* text) {
    float value = 0;
    const char16_t* end = parseFloatW(text, value);
    for (const char16_t* p = text; p < end; ++p) {
        if (*p == 'e' || *p == 'E')
            return saturate(value);
    }
    const bool negative = *text == '-';
    int64_t magnitude = 0;
    for (const char16_t* p = text + (negative ? 1 : 0); *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > int64_t(INT32_MAX) + 1)
            magnitude = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        return int32_t(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : int32_t(magnitude);
}

} // namespace

CXmlTextReader::CXmlTextReader(IInputFile* file)
    : m_text(file), m_fileName(file != nullptr ? file->getName() : CStringW()),
      m_position(m_text.text()) {
    entityList();
}

bool CXmlTextReader::readNext() {
    char16_t* start = m_position;
    if (start == nullptr)
        return false;
    if (*start == 0) {
        if (m_openElements > 0)
            reportDamage(start, "with elements left open");
        return false;
    }
    char16_t* markup = findMarkup<true>(start);
    const bool hasEntity = *markup == '&';
    if (hasEntity)
        markup = findMarkup<false>(markup);
    if (markup != start) {
        if (!isShortBlank(start, markup))
            return readText(start, markup, hasEntity);
        // Short blanks after the last tag are the end of the document, not a node.
        if (*markup == 0) {
            m_position = markup;
            return readNext();
        }
    }
    char16_t* next = markup + 1;
    switch (*next) {
    case '!':
        return readBang(next);
    case '/':
        return readEndElement(next);
    case '?':
        return readOther(next);
    case 0:
        return endInside(next);
    default:
        return readElement(next);
    }
}

bool CXmlTextReader::readText(char16_t* start, char16_t* end, bool hasEntity) {
    assignRange(m_name, start, hasEntity ? replaceEntities(start, end) : end);
    m_kind = kText;
    m_position = end;
    return true;
}

bool CXmlTextReader::readBang(char16_t* bang) {
    char16_t* p = bang + 1;
    if (*p == '[') {
        // The eight characters from the '!' on (normally "![CDATA[") are passed unread. A
        // section that never closes is one with empty text, and then the document ends.
        m_kind = kCData;
        for (p = bang; p < bang + 8; ++p) {
            if (*p == 0)
                return readUnclosedCData(p);
        }
        char16_t* close = p;
        while (*close != 0 && !(close[0] == ']' && close[1] == ']' && close[2] == '>'))
            ++close;
        if (*close == 0)
            return readUnclosedCData(close);
        assignRange(m_name, p, close);
        m_position = close + 3;
        return true;
    }
    // A comment, or any other "<!" markup: it ends at the '>' that balances the '<' before the
    // '!', so a DOCTYPE with an internal subset is one node.
    int depth = 1;
    for (;; ++p) {
        if (*p == 0)
            return endInside(p);
        if (*p == '<')
            ++depth;
        else if (*p == '>' && --depth == 0)
            break;
    }
    // The text lies between the two characters after the '!' and the three up to and
    // including the '>' ("--" and "-->"); in "<!-->" they overlap and the text is empty.
    char16_t* first = bang + 1;
    if (p - first > 4)
        assignRange(m_name, first + 2, p - 2);
    else
        m_name = u"";
    m_kind = kComment;
    m_position = p + 1;
    return true;
}

bool CXmlTextReader::readUnclosedCData(char16_t* terminator) {
    reportDamage(terminator, "inside a CDATA section");
    m_name = u"";
    m_position = terminator;
    return true;
}

bool CXmlTextReader::readEndElement(char16_t* slash) {
    char16_t* close = skipUntil(slash + 1, kTagEnd);
    if (*close == 0)
        return endInside(close);
    assignRange(m_name, slash + 1, close);
    if (m_openElements > 0)
        --m_openElements;
    m_kind = kEndElement;
    m_isEmptyElement = false;
    m_attributeCount = 0;
    m_position = close + 1;
    return true;
}

bool CXmlTextReader::readOther(char16_t* question) {
    char16_t* close = skipUntil(question + 1, kTagEnd);
    if (*close == 0)
        return endInside(close);
    m_kind = kOther;
    m_position = close + 1;
    return true;
}

bool CXmlTextReader::readElement(char16_t* nameStart) {
    char16_t* p = skipUntil(nameStart, kElementNameEnd);
    if (*p == 0)
        return endInside(p);
    char16_t* nameEnd = p;
    bool isEmpty = false;
    if (nameEnd > nameStart && nameEnd[-1] == '/') {
        --nameEnd;
        isEmpty = true;
    }
    assignRange(m_name, nameStart, nameEnd);
    m_attributeCount = 0;
    for (;;) {
        p = skipBlanks(p);
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            // The '/' and the character after it (normally '>') end the tag.
            if (p[1] == 0)
                return endInside(p + 1);
            isEmpty = true;
            p += 2;
            break;
        }
        if (*p == 0)
            return endInside(p);
        p = readAttribute(p);
    }
    m_kind = kElement;
    m_isEmptyElement = isEmpty;
    m_position = p;
    if (!isEmpty)
        ++m_openElements;
    return true;
}

char16_t* CXmlTextReader::readAttribute(char16_t* nameStart) {
    char16_t* nameEnd = skipUntil(nameStart, kAttributeNameEnd);
    if (*nameEnd == 0)
        return nameEnd;
    // The character after the name (normally '=') is passed unread, then all up to a quote.
    char16_t* quote = skipUntil(nameEnd + 1, kQuoteOrEnd);
    if (*quote == 0)
        return quote;
    const char16_t quoteChar = *quote;
    char16_t* valueStart = quote + 1;
    char16_t* valueEnd = valueStart;
    bool hasEntity = false;
    while (*valueEnd != quoteChar && *valueEnd != 0) {
        hasEntity |= *valueEnd == '&';
        ++valueEnd;
    }
    if (*valueEnd == 0)
        return valueEnd;
    CAttribute& attribute = nextAttributeSlot();
    assignRange(attribute.name, nameStart, nameEnd);
    assignRange(attribute.value, valueStart,
                hasEntity ? replaceEntities(valueStart, valueEnd) : valueEnd);
    return valueEnd + 1;
}

bool CXmlTextReader::endInside(char16_t* terminator) {
    reportDamage(terminator, "inside markup");
    m_position = terminator;
    m_kind = kNone;
    m_name = u"";
    m_isEmptyElement = false;
    m_attributeCount = 0;
    return false;
}

// Lines are counted only here: a whole document never pays for it.
void CXmlTextReader::reportDamage(const char16_t* terminator, const char* what) {
    if (!m_reportDamage)
        return;
    m_reportDamage = false;
    uint32_t line = 1;
    for (const char16_t* p = m_text.text(); p < terminator; ++p)
        line += *p == '\n' ? 1 : 0;
    CStringW message(u"XML file ");
    message.append(m_fileName.isEmpty() ? CStringW(u"(unnamed)") : m_fileName);
    message.append(u" is damaged: it ends at line ").append(unsigned(line)).append(u" ");
    message.append(what);
    CLogger::instance()->log(message, CLogger::LevelWarning);
}

CXmlTextReader::CAttribute& CXmlTextReader::nextAttributeSlot() {
    if (m_attributeCount == m_attributes.size())
        m_attributes.append(CAttribute());
    return m_attributes[m_attributeCount++];
}

const CXmlTextReader::CAttribute* CXmlTextReader::findAttribute(const char16_t* name) const {
    if (name == nullptr || *name == 0)
        return nullptr;
    // Lengths first, then the few characters in place: nodes ask for their attributes by name
    // all the time.
    const uint32_t length = uint32_t(std::char_traits<char16_t>::length(name));
    for (uint32_t i = 0; i < m_attributeCount; ++i) {
        const CStringW& candidate = m_attributes[i].name;
        if (candidate.length() == length &&
            std::char_traits<char16_t>::compare(candidate.c_str(), name, length) == 0)
            return &m_attributes[i];
    }
    return nullptr;
}

const CStringW& CXmlTextReader::attributeName(int32_t index) const {
    if (index < 0 || uint32_t(index) >= m_attributeCount)
        return CStringW::emptyString();
    return m_attributes[uint32_t(index)].name;
}

const CStringW& CXmlTextReader::attributeValue(int32_t index) const {
    if (index < 0 || uint32_t(index) >= m_attributeCount)
        return CStringW::emptyString();
    return m_attributes[uint32_t(index)].value;
}

const CStringW& CXmlTextReader::getAttribute(const char16_t* name) const {
    const CAttribute* attribute = findAttribute(name);
    return attribute != nullptr ? attribute->value : CStringW::emptyString();
}

float CXmlTextReader::getAttributeFloat(int32_t index, float defaultValue) const {
    if (index < 0 || uint32_t(index) >= m_attributeCount)
        return defaultValue;
    float value = 0;
    parseFloatW(m_attributes[uint32_t(index)].value.c_str(), value);
    return value;
}

float CXmlTextReader::getAttributeFloat(const char16_t* name, float defaultValue) const {
    const CAttribute* attribute = findAttribute(name);
    if (attribute == nullptr)
        return defaultValue;
    float value = 0;
    parseFloatW(attribute->value.c_str(), value);
    return value;
}

int32_t CXmlTextReader::getAttributeInt(int32_t index, int32_t defaultValue) const {
    if (index < 0 || uint32_t(index) >= m_attributeCount)
        return defaultValue;
    return readInt(m_attributes[uint32_t(index)].value.c_str());
}

int32_t CXmlTextReader::getAttributeInt(const char16_t* name, int32_t defaultValue) const {
    const CAttribute* attribute = findAttribute(name);
    return attribute != nullptr ? readInt(attribute->value.c_str()) : defaultValue;
}

const CArray<CStringW>& CXmlTextReader::getEntities() {
    return entityList();
}

void CXmlTextReader::addEntity(const char16_t* definition) {
    if (definition == nullptr || definition[0] == 0 || definition[1] == 0)
        return;
    entityList().append(CStringW(definition));
}
