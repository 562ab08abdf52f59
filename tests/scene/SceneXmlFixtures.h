#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

// Text as the XML writer stores it: UTF-16 little-endian after a byte-order mark.
inline std::string utf16Bytes(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

// A reader over the text; the reader keeps its own copy of it.
inline CRefPointer<CXmlTextReader> readerOver(const std::u16string& text) {
    std::string bytes = utf16Bytes(text);
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(bytes.data()), int32_t(bytes.size()), u"test.qscn", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

// Moves to the next element of that name; false at the end of the text.
inline bool moveToElement(CXmlTextReader& reader, const char16_t* name) {
    while (reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kElement && reader.nodeName() == name)
            return true;
    }
    return false;
}

// A writer into memory and the text it wrote.
class XmlCapture {
public:
    CXmlTextWriter& writer() { return *m_writer; }

    std::u16string text() const {
        const int32_t length = m_file->getLength();
        std::string bytes(size_t(length), '\0');
        m_file->seekTo(0, false);
        m_file->readBytes(bytes.data(), length);
        m_file->seekTo(length, false);
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        return text;
    }

private:
    CRefPointer<CVirtualFile> m_file{new CVirtualFile(u"out.qscn", 256)};
    CRefPointer<CXmlTextWriter> m_writer{
        new CXmlTextWriter(CRefPointer<IOutputFile>::share(m_file.get()))};
};
