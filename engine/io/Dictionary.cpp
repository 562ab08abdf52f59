#include "engine/io/Dictionary.h"

#include <cstdint>

#include "engine/io/XmlTextReader.h"

namespace {

// Appends the characters [from, to) of text.
void appendRange(CStringW& out, const CStringW& text, uint32_t from, uint32_t to) {
    if (to > from)
        out.append(text.subString(from, to - from));
}

// The position of the next '%' at or after from, or the length when there is none.
uint32_t findPercent(const CStringW& text, uint32_t from) {
    while (from < text.length() && text[from] != u'%')
        ++from;
    return from;
}

bool isMarker(const CStringW& text, uint32_t at) {
    return text[at] == u'#' && (text[at + 1] == u'p' || text[at + 1] == u'P');
}

CString narrowed(const CStringW& text) {
    return CString(text.c_str());
}

} // namespace

// Every character but the last is examined; a key needs at least "%" and one more character.
CStringW CDictionary::expandKeys(const CStringW& text) const {
    const uint32_t length = text.length();
    if (length < 2)
        return text;
    CStringW result;
    uint32_t runStart = 0;
    uint32_t at = 0;
    while (at + 1 < length) {
        if (text[at] != u'%') {
            ++at;
            continue;
        }
        appendRange(result, text, runStart, at);
        if (text[at + 1] == u'%') {
            result.append(u"%");
            at += 2;
        } else {
            const uint32_t close = findPercent(text, at + 1);
            if (close == length) {
                runStart = at;
                break;
            }
            result.append(lookup(narrowed(text.subString(at + 1, close - at - 1))));
            at = close + 1;
        }
        runStart = at;
    }
    appendRange(result, text, runStart, length);
    return result;
}

CStringW CDictionary::lookup(const CString& key) const {
    const auto found = m_texts.find(key);
    if (found != m_texts.end())
        return found->value;
    CStringW missing(u"%");
    missing.append(key.c_str());
    missing.append(u"%");
    return missing;
}

CStringW CDictionary::substituteParams(const CString& key, const CStringW& first,
                                       const CStringW& second, const CStringW& third,
                                       const CStringW& fourth) const {
    const CStringW text = lookup(key);
    const uint32_t length = text.length();
    if (length < 2)
        return text;
    const CStringW* const params[] = {&first, &second, &third, &fourth};
    CStringW result;
    uint32_t used = 0;
    uint32_t runStart = 0;
    for (uint32_t at = 0; at + 1 < length && used < 4;) {
        if (!isMarker(text, at)) {
            ++at;
            continue;
        }
        appendRange(result, text, runStart, at);
        result.append(*params[used++]);
        at += 2;
        runStart = at;
    }
    appendRange(result, text, runStart, length);
    return result;
}

// A root written as a single tag has no content and no end element to stop at.
bool CDictionary::readXml(CXmlTextReader* reader) {
    if (!reader)
        return false;
    while (reader->readNext()) {
        if (reader->nodeKind() != CXmlTextReader::kElement || reader->isEmptyElement())
            continue;
        if (reader->nodeName() == u"Dictionary")
            readStrings(*reader);
        else if (reader->nodeName() == u"texts")
            readPhrases(*reader);
    }
    return true;
}

// The first text node inside an "s" element is its text. A single-tag "s" gets an empty text
// at once, so that it cannot take the text of a later element.
void CDictionary::readStrings(CXmlTextReader& reader) {
    CString key;
    bool pending = false;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        const CStringW& name = reader.nodeName();
        if (kind == CXmlTextReader::kElement && name == u"s") {
            key = narrowed(reader.getAttribute(u"n"));
            if (key.isEmpty())
                continue;
            pending = !reader.isEmptyElement();
            if (!pending)
                m_texts[key] = CStringW();
        } else if (kind == CXmlTextReader::kText && pending) {
            m_texts[key] = reader.nodeText();
            pending = false;
        } else if (kind == CXmlTextReader::kEndElement && name == u"s" && pending) {
            m_texts[key] = CStringW();
            pending = false;
        } else if (kind == CXmlTextReader::kEndElement && name == u"Dictionary") {
            return;
        }
    }
}

void CDictionary::readPhrases(CXmlTextReader& reader) {
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kElement && reader.nodeName() == u"phrase")
            m_texts[narrowed(reader.getAttribute(u"tag"))] = reader.getAttribute(u"text");
        else if (kind == CXmlTextReader::kEndElement && reader.nodeName() == u"texts")
            return;
    }
}
