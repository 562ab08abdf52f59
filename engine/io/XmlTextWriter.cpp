#include "engine/io/XmlTextWriter.h"

#include <algorithm>
#include <utility>

namespace {

// Collects the 16-bit little-endian bytes of one call and writes them in a few blocks.
class CCharSink {
public:
    explicit CCharSink(IOutputFile* file) : m_file(file) {}
    ~CCharSink() { flush(); }
    CCharSink(const CCharSink&) = delete;
    CCharSink& operator=(const CCharSink&) = delete;

    void put(char16_t ch) {
        if (m_used + 2 > sizeof(m_bytes))
            flush();
        m_bytes[m_used++] = uint8_t(ch & 0xFF);
        m_bytes[m_used++] = uint8_t(ch >> 8);
    }

    void put(const char16_t* text) {
        while (*text != 0)
            put(*text++);
    }

    void putEscaped(const char16_t* text) {
        for (; *text != 0; ++text) {
            switch (*text) {
            case '&':
                put(u"&amp;");
                break;
            case '<':
                put(u"&lt;");
                break;
            case '>':
                put(u"&gt;");
                break;
            case '"':
                put(u"&quot;");
                break;
            case '\'':
                put(u"&apos;");
                break;
            case '\r':
                put(u"&#xD;");
                break;
            case '\n':
                put(u"&#xA;");
                break;
            default:
                put(*text);
            }
        }
    }

    void putAttribute(const char16_t* name, const char16_t* value) {
        put(u' ');
        put(name);
        put(u"=\"");
        putEscaped(value);
        put(u'"');
    }

private:
    void flush() {
        if (m_used != 0)
            m_file->writeBytes(m_bytes, int32_t(m_used));
        m_used = 0;
    }

    IOutputFile* m_file;
    uint8_t m_bytes[1024];
    uint32_t m_used = 0;
};

} // namespace

CXmlTextWriter::CXmlTextWriter(CRefPointer<IOutputFile> file) : m_file(std::move(file)) {}

void CXmlTextWriter::writeHeader() {
    if (!m_file)
        return;
    CCharSink sink(m_file.get());
    sink.put(u'\xFEFF');
    sink.put(u"<?xml version=\"1.0\"?>\r\n");
    m_lastWasText = false;
}

template <typename PutAttributes>
void CXmlTextWriter::openTag(const char16_t* name, bool isEmpty, PutAttributes putAttributes) {
    if (!m_file || name == nullptr)
        return;
    CCharSink sink(m_file.get());
    for (int32_t i = 0; i < m_depth; ++i)
        sink.put(u'\t');
    sink.put(u'<');
    sink.put(name);
    putAttributes(sink);
    sink.put(isEmpty ? u" />" : u">");
    if (!isEmpty)
        ++m_depth;
    m_lastWasText = false;
}

void CXmlTextWriter::openElement(const char16_t* name, bool isEmpty,
                                 const CArray<CStringW>& attributeNames,
                                 const CArray<CStringW>& attributeValues) {
    openTag(name, isEmpty, [&](CCharSink& sink) {
        const uint32_t count = std::min(attributeNames.size(), attributeValues.size());
        for (uint32_t i = 0; i < count; ++i)
            sink.putAttribute(attributeNames[i].c_str(), attributeValues[i].c_str());
    });
}

void CXmlTextWriter::openElement(const char16_t* name, bool isEmpty, const char16_t* name1,
                                 const char16_t* value1, const char16_t* name2,
                                 const char16_t* value2, const char16_t* name3,
                                 const char16_t* value3, const char16_t* name4,
                                 const char16_t* value4, const char16_t* name5,
                                 const char16_t* value5) {
    const char16_t* const pairs[][2] = {
        {name1, value1}, {name2, value2}, {name3, value3}, {name4, value4}, {name5, value5}};
    openTag(name, isEmpty, [&](CCharSink& sink) {
        for (const auto& pair : pairs) {
            if (pair[0] != nullptr && pair[1] != nullptr)
                sink.putAttribute(pair[0], pair[1]);
        }
    });
}

void CXmlTextWriter::writeComment(const char16_t* text) {
    if (!m_file || text == nullptr)
        return;
    CCharSink sink(m_file.get());
    sink.put(u"<!--");
    sink.putEscaped(text);
    sink.put(u"-->");
}

void CXmlTextWriter::closeElement(const char16_t* name) {
    if (!m_file || name == nullptr)
        return;
    --m_depth;
    CCharSink sink(m_file.get());
    for (int32_t i = m_lastWasText ? 0 : m_depth; i > 0; --i)
        sink.put(u'\t');
    sink.put(u"</");
    sink.put(name);
    sink.put(u'>');
    m_lastWasText = false;
}

void CXmlTextWriter::writeEscapedText(const char16_t* text) {
    if (!m_file || text == nullptr)
        return;
    CCharSink sink(m_file.get());
    sink.putEscaped(text);
    m_lastWasText = true;
}

void CXmlTextWriter::writeNewLine() {
    if (!m_file)
        return;
    CCharSink sink(m_file.get());
    sink.put(u"\r\n");
}
