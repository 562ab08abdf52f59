#include "engine/io/XmlTextReader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

CRefPointer<CXmlTextReader> readerOver(Bytes bytes) {
    CRefPointer<CMemoryBlockFile> file(
        new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"test.xml", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

CRefPointer<CXmlTextReader> readerOver(const std::string& text) {
    return readerOver(Bytes(text.begin(), text.end()));
}

std::string narrow(const CStringW& text) {
    std::string result;
    for (uint32_t i = 0; i < text.length(); ++i)
        result += text[i] < 0x80 ? char(text[i]) : '#';
    return result;
}

// One line per node: <name a=v> or <name/>, </name>, T(text), C(comment), D(cdata), ?.
std::string nodeStream(CXmlTextReader& reader) {
    std::string stream;
    while (reader.readNext()) {
        if (!stream.empty())
            stream += '|';
        const std::string name = narrow(reader.nodeName());
        switch (reader.nodeKind()) {
        case CXmlTextReader::kElement:
            stream += '<' + name;
            for (int32_t i = 0; i < reader.attributeCount(); ++i)
                stream +=
                    ' ' + narrow(reader.attributeName(i)) + '=' + narrow(reader.attributeValue(i));
            stream += reader.isEmptyElement() ? "/>" : ">";
            break;
        case CXmlTextReader::kEndElement:
            stream += "</" + name + '>';
            break;
        case CXmlTextReader::kText:
            stream += "T(" + name + ')';
            break;
        case CXmlTextReader::kComment:
            stream += "C(" + name + ')';
            break;
        case CXmlTextReader::kCData:
            stream += "D(" + name + ')';
            break;
        default:
            stream += '?';
        }
    }
    return stream;
}

TEST(XmlTextReaderTest, ReadsTheNodeStreamOfEachConstruct) {
    struct Case {
        const char* document;
        const char* stream;
    };
    const Case cases[] = {
        {"<a>\n</a>", "<a>|</a>"},
        {"<a>\r\n</a>", "<a>|</a>"},
        {"<a>\n\t\t</a>", "<a>|T(\n\t\t)|</a>"},
        {"<a> x</a>", "<a>|T( x)|</a>"},
        {"<a x='1' y=\"2\"/>", "<a x=1 y=2/>"},
        {"<a x=\"it's\" y='say \"hi\"'></a>", "<a x=it's y=say \"hi\">|</a>"},
        {"<a/><b />", "<a/>|<b/>"},
        {"<a\tb = 'c' >", "<a b=c>"},
        {"<a ='x'>", "<a =x>"},
        {"</a >", "</a >"},
        {"<b>&lt;&unknown;&#13;&#xd;</b>", "<b>|T(<&unknown;&#13;&#xd;)|</b>"},
        {"<b>&amp;lt;&amp;</b>", "<b>|T(&lt;&)|</b>"},
        {"<a v='&quot;&apos;&gt;&amp;amp;'/>", "<a v=\"'>&amp;/>"},
        {"<!-- note -->", "C( note )"},
        {"<!-->", "C()"},
        {"<!>", "C()"},
        {"<!DOCTYPE x>", "C(CTYPE)"},
        {"<!DOCTYPE r [<!ENTITY e 'x'>]><r/>", "C(CTYPE r [<!ENTITY e 'x')|<r/>"},
        {"<![CDATA[a<b&amp;]]>", "D(a<b&amp;)"},
        {"<?xml version=\"1.0\"?><r/>", "?|<r/>"},
        // After the last tag: short blanks are the end, anything else is a text node.
        {"<r>\n</r>\r\n", "<r>|</r>"},
        {"<r/>\r\n\t\r\n", "<r/>|T(\r\n\t\r\n)"},
        {"<r/>tail", "<r/>|T(tail)"},
        {"tail", "T(tail)"},
    };
    for (const Case& c : cases) {
        CRefPointer<CXmlTextReader> reader = readerOver(c.document);
        EXPECT_EQ(nodeStream(*reader), c.stream) << c.document;
        EXPECT_FALSE(reader->readNext()) << c.document;
    }
}

TEST(XmlTextReaderTest, TextAndCommentNodesKeepTheLastElementsAttributes) {
    CRefPointer<CXmlTextReader> reader = readerOver("<a x='1'>text<!--c--><?p?>");
    for (int32_t kind : {CXmlTextReader::kElement, CXmlTextReader::kText, CXmlTextReader::kComment,
                         CXmlTextReader::kOther}) {
        ASSERT_TRUE(reader->readNext());
        EXPECT_EQ(reader->nodeKind(), kind);
        EXPECT_EQ(reader->attributeCount(), 1);
        EXPECT_EQ(reader->getAttribute(u"x"), u"1");
    }
    EXPECT_EQ(reader->nodeName(), u"c");
}

TEST(XmlTextReaderTest, ADocumentThatEndsInsideAConstructEndsCleanly) {
    const char* const documents[] = {
        "<r><",   "<r><a",    "<r><a x", "<r><a x=", "<r><a x='1",   "<r><a x='1'", "<r><a x='1' /",
        "<r></a", "<r><?xml", "<r><!",   "<r><!--",  "<r><!-- x --", "<r><!a<b>",
    };
    for (const char* document : documents) {
        CRefPointer<CXmlTextReader> reader = readerOver(document);
        EXPECT_EQ(nodeStream(*reader), "<r>") << document;
        EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kNone) << document;
        EXPECT_TRUE(reader->nodeName().isEmpty()) << document;
        EXPECT_EQ(reader->attributeCount(), 0) << document;
        EXPECT_FALSE(reader->readNext()) << document;
    }
}

// A content file cut short still gives what it holds, so a scene could lose a panel without a
// word: reaching the end of such a document logs one warning with the file and the line.
TEST(XmlTextReaderTest, ADamagedDocumentIsReportedOnceWithItsFileAndLine) {
    struct Case {
        const char* document;
        const char* warning;
    };
    const char* const whole = "test.xml is damaged: it ends at line ";
    const Case cases[] = {
        {"<r>\n<a x='1'/>\n<b>\n</b>\n</r>\n", nullptr},
        {"<?xml?><!-- x --><r/>  ", nullptr},
        {"", nullptr},
        {"<r>\n<a>\n  ", "3 with elements left open"},
        {"<r>\n<a>text</a>\n<b x='", "3 inside markup"},
        {"<r>\n\n<!-- never closed", "3 inside markup"},
        {"<r><![CDATA[a\nb", "2 inside a CDATA section"},
        {"<r><a/></r>\n<s>", "2 with elements left open"},
    };
    for (const Case& c : cases) {
        for (const bool reported : {true, false}) {
            CRefPointer<CXmlTextReader> reader = readerOver(c.document);
            reader->setDamageReported(reported);
            testing::internal::CaptureStdout();
            nodeStream(*reader);
            EXPECT_FALSE(reader->readNext());
            const std::string log = testing::internal::GetCapturedStdout();
            const std::string expected =
                c.warning && reported ? std::string("WRN: XML file ") + whole + c.warning + "\r\n"
                                      : "";
            EXPECT_EQ(log, expected) << c.document;
        }
    }
}

TEST(XmlTextReaderTest, ACDataSectionThatNeverClosesIsEmptyAndEndsTheDocument) {
    struct Case {
        const char* document;
        const char* stream;
    };
    const Case cases[] = {
        {"<r x='1'><![", "<r x=1>|D()"},
        {"<r x='1'><![CDA", "<r x=1>|D()"},
        {"<r x='1'><![CDATA[abc]]", "<r x=1>|D()"},
        {"<r x='1'><![CDATA[a]]><![CDATA[b", "<r x=1>|D(a)|D()"},
    };
    for (const Case& c : cases) {
        CRefPointer<CXmlTextReader> reader = readerOver(c.document);
        EXPECT_EQ(nodeStream(*reader), c.stream) << c.document;
        EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kCData) << c.document;
        EXPECT_EQ(reader->getAttribute(u"x"), u"1") << c.document;
        EXPECT_FALSE(reader->readNext()) << c.document;
    }
}

Bytes utf16(const std::u16string& text, bool bigEndian) {
    Bytes bytes;
    for (char16_t ch : text) {
        bytes.push_back(uint8_t(bigEndian ? ch >> 8 : ch & 0xFF));
        bytes.push_back(uint8_t(bigEndian ? ch & 0xFF : ch >> 8));
    }
    return bytes;
}

Bytes utf32(const std::u16string& text, bool bigEndian) {
    Bytes bytes;
    for (char16_t ch : text) {
        const Bytes unit = {0, 0, uint8_t(ch >> 8), uint8_t(ch & 0xFF)};
        bytes.insert(bytes.end(), unit.begin(), unit.end());
        if (!bigEndian)
            std::reverse(bytes.end() - 4, bytes.end());
    }
    return bytes;
}

Bytes concat(Bytes head, const std::string& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(XmlTextReaderTest, DecodesEachEncodingByItsByteOrderMark) {
    const std::u16string document = u"\uFEFF<t>\u00E9\u20AC</t>";
    struct Case {
        const char* name;
        Bytes bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"UTF-32 big-endian", utf32(document, true), u"\u00E9\u20AC"},
        {"UTF-32 little-endian", utf32(document, false), u"\u00E9\u20AC"},
        {"UTF-16 big-endian", utf16(document, true), u"\u00E9\u20AC"},
        {"UTF-16 little-endian", utf16(document, false), u"\u00E9\u20AC"},
        // A four-byte sequence gives one '?'; a stray continuation byte gives nothing.
        {"UTF-8", concat({0xEF, 0xBB, 0xBF}, "<t>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\x80z</t>"),
         u"\u00E9\u20AC?z"},
        {"8-bit", concat({}, "<t>\xE9\x80</t>"), u"\u00E9\u0080"},
        // An odd last byte of UTF-16 is dropped; a zero character ends the text.
        {"UTF-16 odd length", concat(utf16(u"\uFEFF<t>ab", false), "<"), u"ab"},
        {"zero byte", concat({'<', 't', '>', 'a', 0}, "b</t>"), u"a"},
    };
    for (const Case& c : cases) {
        CRefPointer<CXmlTextReader> reader = readerOver(c.bytes);
        ASSERT_TRUE(reader->readNext()) << c.name;
        EXPECT_EQ(reader->nodeName(), u"t") << c.name;
        ASSERT_TRUE(reader->readNext()) << c.name;
        EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kText) << c.name;
        EXPECT_EQ(std::u16string(reader->nodeText().c_str()), c.text) << c.name;
    }
}

TEST(XmlTextReaderTest, UtfTextBeyondSixteenBytesKeepsItsCharacters) {
    // Long runs take the block path of the decoder and the markup scan.
    const std::string run(37, 'x');
    CRefPointer<CXmlTextReader> reader = readerOver(
        concat({0xEF, 0xBB, 0xBF}, "<t>" + run + "\xC3\xA9" + run + "&amp;" + run + "</t>"));
    EXPECT_EQ(nodeStream(*reader), "<t>|T(" + run + "#" + run + "&" + run + ")|</t>");
}

// A file that claims more bytes than one read delivers.
class CShortReadFile : public IInputFile {
public:
    CShortReadFile(std::string bytes, int32_t length)
        : m_bytes(std::move(bytes)), m_length(length) {}
    int32_t readBytes(void* buffer, int32_t count) override {
        std::fill_n(static_cast<uint8_t*>(buffer), count, uint8_t('x'));
        const int32_t n = std::min(count, int32_t(m_bytes.size()));
        std::copy_n(m_bytes.data(), n, static_cast<uint8_t*>(buffer));
        return n;
    }
    bool seekTo(int32_t, bool) override { return false; }
    int32_t getLength() const override { return m_length; }
    int32_t getPosition() const override { return 0; }
    const CStringW& getName() const override { return m_name; }

private:
    std::string m_bytes;
    int32_t m_length;
    CStringW m_name = u"short";
};

TEST(XmlTextReaderTest, ReadsOnlyTheBytesTheFileDelivered) {
    CRefPointer<CShortReadFile> shortFile(new CShortReadFile("<a/><b/>", 64));
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(shortFile.get()));
    EXPECT_EQ(nodeStream(*reader), "<a/>|<b/>");

    CRefPointer<CShortReadFile> nothing(new CShortReadFile("", 64));
    CRefPointer<CShortReadFile> empty(new CShortReadFile("<a/>", 0));
    for (IInputFile* file :
         {static_cast<IInputFile*>(nothing.get()), static_cast<IInputFile*>(empty.get()),
          static_cast<IInputFile*>(nullptr)}) {
        CRefPointer<CXmlTextReader> none(new CXmlTextReader(file));
        EXPECT_FALSE(none->readNext());
        EXPECT_EQ(none->nodeKind(), CXmlTextReader::kNone);
    }
}

TEST(XmlTextReaderTest, NumberGettersReadTheValueAndSaturate) {
    struct Case {
        const char* value;
        int32_t asInt;
        float asFloat;
    };
    const Case cases[] = {
        {"2.9", 2, 2.9f},
        {"-2.9", -2, -2.9f},
        {"abc", 0, 0.f},
        {"+5", 0, 0.f},
        {"16777217", 16777217, 16777216.f},
        {"-2147483648", INT32_MIN, -2147483648.f},
        {"3000000000", INT32_MAX, 3e9f},
        {"-3000000000", INT32_MIN, -3e9f},
        {"1.5e3", 1500, 1500.f},
        {"1e40", INT32_MAX, INFINITY},
        {"-1e40", INT32_MIN, -INFINITY},
    };
    for (const Case& c : cases) {
        CRefPointer<CXmlTextReader> reader = readerOver(std::string("<a v='") + c.value + "'/>");
        ASSERT_TRUE(reader->readNext());
        EXPECT_EQ(reader->getAttributeInt(u"v", 7), c.asInt) << c.value;
        EXPECT_EQ(reader->getAttributeInt(0, 7), c.asInt) << c.value;
        EXPECT_EQ(reader->getAttributeFloat(u"v", 7.f), c.asFloat) << c.value;
        EXPECT_EQ(reader->getAttributeFloat(0, 7.f), c.asFloat) << c.value;
    }
}

TEST(XmlTextReaderTest, MissingAttributesGiveTheDefaultOrTheEmptyString) {
    CRefPointer<CXmlTextReader> reader = readerOver("<a ='x' b='y' b='z'/>");
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->getAttribute(u"b"), u"y");
    EXPECT_EQ(reader->attributeName(0), u"");
    EXPECT_EQ(reader->attributeValue(0), u"x");
    for (const CStringW* missing :
         {&reader->getAttribute(u""), &reader->getAttribute(nullptr), &reader->getAttribute(u"c"),
          &reader->attributeName(3), &reader->attributeValue(-1)})
        EXPECT_EQ(missing, &CStringW::emptyString());
    EXPECT_EQ(reader->getAttributeInt(u"c", 16777217), 16777217);
    EXPECT_EQ(reader->getAttributeInt(3, INT32_MIN), INT32_MIN);
    EXPECT_EQ(reader->getAttributeFloat(u"c", 0.25f), 0.25f);
    EXPECT_EQ(reader->getAttributeFloat(-1, 0.25f), 0.25f);
}

TEST(XmlTextReaderTest, EntityListStartsWithTheSevenEntitiesAndTakesMore) {
    const char16_t* const defaults[] = {u"&amp;",  u"<lt;",   u">gt;",  u"\"quot;",
                                        u"'apos;", u"\r#xD;", u"\n#xA;"};
    CRefPointer<CXmlTextReader> first = readerOver("");
    const CArray<CStringW>& entities = CXmlTextReader::getEntities();
    ASSERT_GE(entities.size(), 7u);
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(entities[i], defaults[i]);

    const uint32_t before = entities.size();
    CXmlTextReader::addEntity(u"");
    CXmlTextReader::addEntity(nullptr);
    CXmlTextReader::addEntity(u"\u00A9copy;");
    EXPECT_EQ(entities.size(), before + 1);
    CRefPointer<CXmlTextReader> reader = readerOver("<a v='&copy;'/>");
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->getAttribute(u"v"), u"\u00A9");
}

} // namespace
