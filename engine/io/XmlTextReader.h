#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/io/DecodedXmlText.h"
#include "engine/io/IInputFile.h"

// Pull reader of the system's XML dialect over 16-bit text: the caller asks for one node after
// another and looks at the current node. It knows no document type, no namespaces and no
// character references beyond the entity list, and reads malformed markup in a fixed, forgiving
// way: blank text of fewer than three characters is skipped, any "<!" markup other than CDATA
// (a DOCTYPE too) is a comment, and entities are replaced once. Every scan stops at the end of
// the text. A document that ends inside a tag, an attribute, a comment or "<?" markup ends
// there: readNext returns false and the reader is left on no node. One that ends inside a
// CDATA section gives a CDATA node with empty text, and then the end. Such a document, or one
// that ends with elements still open, is damaged (cut short, as a rule): once the reader
// reaches its end it logs one warning naming the file and the line where the text stops.
class CXmlTextReader : public CRefCounted {
public:
    enum NodeKind : int32_t {
        kNone = 0,
        kElement = 1,
        kEndElement = 2,
        kText = 3,
        kComment = 4,
        kCData = 5,
        kOther = 6, // markup starting with "<?"
    };

    // Reads the whole file at once; the file is not kept. No file gives a reader without nodes.
    explicit CXmlTextReader(IInputFile* file);

    // For callers that report a damaged document in their own words.
    void setDamageReported(bool reported) { m_reportDamage = reported; }
    // The name of the file read, for warnings about its content; empty without one.
    const CStringW& fileName() const { return m_fileName; }

    // Moves to the next node; false at the end of the text.
    bool readNext();

    // True when the current element was written as a single tag (no end element follows).
    bool isEmptyElement() const { return m_isEmptyElement; }
    int32_t nodeKind() const { return m_kind; }
    // The name of an element or end element, the text of a text, comment or CDATA node.
    const CStringW& nodeName() const { return m_name; }
    const CStringW& nodeText() const { return m_name; }
    // True when the name is exactly the literal; lengths are compared first, as loaders ask
    // this of every node they read.
    template <size_t N>
    bool nameIs(const char16_t (&literal)[N]) const {
        return m_name.length() == N - 1 &&
               std::char_traits<char16_t>::compare(m_name.c_str(), literal, N - 1) == 0;
    }

    // The attributes of the last element read; text, comment and other nodes keep them.
    int32_t attributeCount() const { return int32_t(m_attributeCount); }
    // The strings answered belong to the reader and change with the next readNext; missing ones
    // are the shared empty string.
    const CStringW& attributeName(int32_t index) const;
    const CStringW& attributeValue(int32_t index) const;
    // The first attribute of that exact name; an empty name finds nothing.
    const CStringW& getAttribute(const char16_t* name) const;

    // The value read as a decimal number; the default only when the attribute is missing.
    float getAttributeFloat(int32_t index, float defaultValue) const;
    float getAttributeFloat(const char16_t* name, float defaultValue) const;
    // The value read as a decimal number and truncated toward zero, saturated to the int range;
    // the default, unchanged, when the attribute is missing.
    int32_t getAttributeInt(int32_t index, int32_t defaultValue) const;
    int32_t getAttributeInt(const char16_t* name, int32_t defaultValue) const;

    // The process-wide entity list, filled by the first reader. Each definition is the
    // replacement character followed by the entity's name with its ';': u"<lt;" reads "&lt;" as
    // '<'. Entities are tried in list order.
    static const CArray<CStringW>& getEntities();
    // Appends a definition of the same form; one shorter than two characters is ignored.
    static void addEntity(const char16_t* definition);

protected:
    ~CXmlTextReader() override = default;

private:
    struct CAttribute {
        CStringW name;
        CStringW value;
    };

    bool readText(char16_t* start, char16_t* end, bool hasEntity);
    bool readBang(char16_t* bang);
    bool readUnclosedCData(char16_t* terminator);
    bool readEndElement(char16_t* slash);
    bool readOther(char16_t* question);
    bool readElement(char16_t* nameStart);
    // Answers the position after the attribute's closing quote, or the terminator when the
    // text ends inside it (the attribute is then not kept).
    char16_t* readAttribute(char16_t* nameStart);
    // Ends the reader at the terminator reached inside an unfinished construct.
    bool endInside(char16_t* terminator);
    // The warning about a document that stops at the terminator, once.
    void reportDamage(const char16_t* terminator, const char* what);
    CAttribute& nextAttributeSlot();
    const CAttribute* findAttribute(const char16_t* name) const;

    CDecodedXmlText m_text;
    CStringW m_fileName;
    char16_t* m_position;
    // Elements opened and not yet closed, without matching their names.
    uint32_t m_openElements = 0;
    bool m_reportDamage = true;
    int32_t m_kind = kNone;
    CStringW m_name;
    bool m_isEmptyElement = false;
    // Slots are reused from element to element so that their buffers are allocated once.
    CArray<CAttribute> m_attributes;
    uint32_t m_attributeCount = 0;
};
