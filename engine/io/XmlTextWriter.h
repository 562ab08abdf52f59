#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IOutputFile.h"

// Writes the system's XML dialect as 16-bit little-endian text with tab indentation. Each call
// writes its bytes to the file at once. Apart from the header nothing writes a line end by
// itself: callers end their lines with writeNewLine. Without a file every call does nothing;
// the element, comment and text calls also do nothing for a null name or text.
class CXmlTextWriter : public CRefCounted {
public:
    explicit CXmlTextWriter(CRefPointer<IOutputFile> file);

    // The byte-order mark, the XML declaration and a line end.
    void writeHeader();
    // A start tag indented by the depth, with the attributes at the same index of the two
    // arrays (as many as the shorter holds); an empty element is written as a single tag.
    void openElement(const char16_t* name, bool isEmpty, const CArray<CStringW>& attributeNames,
                     const CArray<CStringW>& attributeValues);
    // The same with up to five name and value pairs; a pair with a null half is skipped.
    void openElement(const char16_t* name, bool isEmpty, const char16_t* name1 = nullptr,
                     const char16_t* value1 = nullptr, const char16_t* name2 = nullptr,
                     const char16_t* value2 = nullptr, const char16_t* name3 = nullptr,
                     const char16_t* value3 = nullptr, const char16_t* name4 = nullptr,
                     const char16_t* value4 = nullptr, const char16_t* name5 = nullptr,
                     const char16_t* value5 = nullptr);
    // Not indented, so that it can follow text on the same line.
    void writeComment(const char16_t* text);
    // An end tag, indented unless it follows text written by writeEscapedText.
    void closeElement(const char16_t* name);
    // The text with & < > " ' and the line-end characters written as entities.
    void writeEscapedText(const char16_t* text);
    void writeNewLine();

protected:
    ~CXmlTextWriter() override = default;

private:
    // A start tag indented by the depth; putAttributes writes the attributes into the tag.
    template <typename PutAttributes>
    void openTag(const char16_t* name, bool isEmpty, PutAttributes putAttributes);

    CRefPointer<IOutputFile> m_file;
    int32_t m_depth = 0;
    bool m_lastWasText = false;
};
