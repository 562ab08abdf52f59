#include "engine/io/DecodedXmlText.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// UTF-16 little-endian text is used where it was read, in the host's own byte order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian hosts only");

namespace {

// Sixteen bytes of 8-bit text to sixteen characters; false, with nothing written, when one of
// them is zero or, with asciiOnly, above 0x7F.
bool widenBlock(const uint8_t* in, char16_t* out, bool asciiOnly) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    int special = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, zero));
    if (asciiOnly)
        special |= _mm_movemask_epi8(chunk);
    if (special != 0)
        return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
    return true;
#else
    for (int i = 0; i < 16; ++i) {
        if (in[i] == 0 || (asciiOnly && in[i] >= 0x80))
            return false;
    }
    for (int i = 0; i < 16; ++i)
        out[i] = in[i];
    return true;
#endif
}

// Every byte up to the first zero becomes the character of the same value.
uint32_t widenLatin1(const uint8_t* in, char16_t* out) {
    uint32_t n = 0;
    while (widenBlock(in + n, out + n, false))
        n += 16;
    // The block that stopped holds the zero.
    for (; in[n] != 0; ++n)
        out[n] = in[n];
    return n;
}

// One character per byte that is not a continuation byte (10xxxxxx), up to the first zero byte.
// A lead byte takes the low bits of the bytes after it without passing them, so continuation
// bytes, wherever they stand, make nothing. Four-byte and longer sequences give '?'. The bytes
// after the text must be zero: a lead byte at the end looks two bytes ahead.
uint32_t decodeUtf8(const uint8_t* in, char16_t* out) {
    uint32_t i = 0;
    uint32_t n = 0;
    for (;;) {
        while (widenBlock(in + i, out + n, true)) {
            i += 16;
            n += 16;
        }
        // Byte by byte through the block that held a special byte.
        for (const uint32_t blockEnd = i + 16; i < blockEnd; ++i) {
            const uint8_t lead = in[i];
            if (lead == 0)
                return n;
            if (lead < 0x80)
                out[n++] = lead;
            else if (lead >= 0xF0)
                out[n++] = u'?';
            else if (lead >= 0xE0)
                out[n++] =
                    char16_t((lead & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 | (in[i + 2] & 0x3F));
            else if (lead >= 0xC0)
                out[n++] = char16_t((lead & 0x1F) << 6 | (in[i + 1] & 0x3F));
        }
    }
}

} // namespace

CDecodedXmlText::CDecodedXmlText(IInputFile* file) {
    if (file == nullptr)
        return;
    const int32_t length = file->getLength();
    if (length <= 0)
        return;
    // The bytes are read into 16-bit units so that UTF-16 and UTF-32 decode where they lie; the
    // padding leaves zero bytes after them for the decoders' look-ahead.
    const uint32_t units = (uint32_t(length) + 1) / 2 + kPadding;
    m_buffer = new char16_t[units];
    const int32_t read = file->readBytes(m_buffer, length);
    if (read <= 0) {
        delete[] m_buffer;
        m_buffer = nullptr;
        return;
    }
    // Whatever a short read left unwritten is zero, so nothing but the bytes read is decoded.
    uint8_t* bytes = reinterpret_cast<uint8_t*>(m_buffer);
    std::memset(bytes + read, 0, units * sizeof(char16_t) - uint32_t(read));
    decode(uint32_t(read));
}

void CDecodedXmlText::decode(uint32_t count) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(m_buffer);
    const bool utf32Big =
        count >= 4 && bytes[0] == 0x00 && bytes[1] == 0x00 && bytes[2] == 0xFE && bytes[3] == 0xFF;
    const bool utf32Little =
        count >= 4 && bytes[0] == 0xFF && bytes[1] == 0xFE && bytes[2] == 0x00 && bytes[3] == 0x00;
    if (utf32Big || utf32Little) {
        // Each unit after the mark is cut to its low 16 bits, written over the units before it.
        const uint32_t count32 = (count - 4) / 4;
        for (uint32_t i = 0; i < count32; ++i) {
            const uint8_t* unit = bytes + 4 + 4 * i;
            m_buffer[i] =
                utf32Big ? char16_t(unit[2] << 8 | unit[3]) : char16_t(unit[1] << 8 | unit[0]);
        }
        m_buffer[count32] = 0;
        m_text = m_buffer;
        return;
    }
    const bool utf16Big = count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    const bool utf16Little = count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (utf16Big || utf16Little) {
        const uint32_t count16 = (count - 2) / 2;
        m_text = m_buffer + 1;
        if (utf16Big) {
            for (uint32_t i = 0; i < count16; ++i)
                m_text[i] = char16_t(m_text[i] << 8 | m_text[i] >> 8);
        }
        // An odd last byte is dropped.
        m_text[count16] = 0;
        return;
    }
    const bool utf8 = count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    char16_t* text = new char16_t[count + 1 + kPadding];
    const uint32_t decoded = utf8 ? decodeUtf8(bytes + 3, text) : widenLatin1(bytes, text);
    std::memset(text + decoded, 0, sizeof(char16_t) * (1 + kPadding));
    delete[] m_buffer;
    m_buffer = text;
    m_text = text;
}
