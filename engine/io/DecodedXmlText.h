#pragma once

#include <cstdint>

#include "engine/io/IInputFile.h"

// The characters of an XML file: its bytes decoded by their byte-order mark (UTF-32 or UTF-16 of
// either byte order, UTF-8, else 8-bit Latin-1). Characters beyond U+FFFF are not kept. The text
// ends at its first zero character, and the buffer holds at least kPadding characters from that
// zero on, so a scan may load kPadding characters at once anywhere up to the end.
class CDecodedXmlText {
public:
    static constexpr uint32_t kPadding = 8;

    // Reads the file's length in one read and decodes only the bytes actually read. No file, an
    // empty file or a read of nothing give no text. The file is not kept.
    explicit CDecodedXmlText(IInputFile* file);
    ~CDecodedXmlText() { delete[] m_buffer; }
    CDecodedXmlText(const CDecodedXmlText&) = delete;
    CDecodedXmlText& operator=(const CDecodedXmlText&) = delete;

    // The first character after the byte-order mark; null when there is no text. The text is
    // the holder's to rewrite in place.
    char16_t* text() const { return m_text; }

private:
    // Decodes the count bytes at the start of the buffer, in place or into a new buffer.
    void decode(uint32_t count);

    char16_t* m_buffer = nullptr;
    char16_t* m_text = nullptr;
};
