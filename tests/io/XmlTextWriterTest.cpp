#include "engine/io/XmlTextWriter.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"

namespace {

class XmlTextWriterTest : public ::testing::Test {
protected:
    // Everything written so far, as the 16-bit characters of the little-endian bytes.
    std::u16string written() {
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

    CRefPointer<CVirtualFile> m_file{new CVirtualFile(u"out.xml", 64)};
    CRefPointer<CXmlTextWriter> m_writer{new CXmlTextWriter(
        CRefPointer<IOutputFile>(CRefPointer<IOutputFile>::share(m_file.get())))};
};

TEST_F(XmlTextWriterTest, WritesTheHeaderAndIndentedElements) {
    m_writer->writeHeader();
    m_writer->openElement(u"Profiles", false);
    m_writer->writeNewLine();
    m_writer->openElement(u"int", true, u"Name", u"A", u"Value", u"1");
    m_writer->writeNewLine();
    m_writer->closeElement(u"Profiles");
    m_writer->writeNewLine();
    EXPECT_EQ(written(), u"\uFEFF<?xml version=\"1.0\"?>\r\n"
                         u"<Profiles>\r\n"
                         u"\t<int Name=\"A\" Value=\"1\" />\r\n"
                         u"</Profiles>\r\n");
}

TEST_F(XmlTextWriterTest, ClosesRightAfterTextWithoutIndenting) {
    m_writer->openElement(u"a", false);
    m_writer->writeNewLine();
    m_writer->openElement(u"b", false);
    m_writer->writeEscapedText(u"x");
    m_writer->closeElement(u"b");
    m_writer->writeNewLine();
    m_writer->openElement(u"c", false);
    m_writer->writeEscapedText(u"");
    m_writer->writeComment(u"<\n>");
    m_writer->closeElement(u"c");
    m_writer->writeNewLine();
    m_writer->openElement(u"d", false);
    m_writer->closeElement(u"d");
    m_writer->closeElement(u"a");
    EXPECT_EQ(written(), u"<a>\r\n"
                         u"\t<b>x</b>\r\n"
                         u"\t<c><!--&lt;&#xA;&gt;--></c>\r\n"
                         u"\t<d>\t</d></a>");
}

TEST_F(XmlTextWriterTest, WritesAttributesFromArraysAndPairs) {
    CArray<CStringW> names;
    CArray<CStringW> values;
    for (const char16_t* name : {u"x", u"y", u"z"})
        names.append(CStringW(name));
    for (const char16_t* value : {u"1", u"&"})
        values.append(CStringW(value));
    m_writer->openElement(u"a", true, names, values);
    m_writer->openElement(u"b", true, u"p", nullptr, nullptr, u"q", u"r", u"2", u"s", u"3", u"t",
                          u"4");
    EXPECT_EQ(written(), u"<a x=\"1\" y=\"&amp;\" /><b r=\"2\" s=\"3\" t=\"4\" />");
}

TEST_F(XmlTextWriterTest, IgnoresCallsWithoutNameTextOrFile) {
    m_writer->openElement(nullptr, false);
    m_writer->closeElement(nullptr);
    m_writer->writeEscapedText(nullptr);
    m_writer->writeComment(nullptr);
    EXPECT_EQ(written(), u"");

    CRefPointer<CXmlTextWriter> detached(new CXmlTextWriter(CRefPointer<IOutputFile>()));
    detached->writeHeader();
    detached->openElement(u"a", false);
    detached->writeEscapedText(u"x");
    detached->closeElement(u"a");
    detached->writeNewLine();
}

TEST_F(XmlTextWriterTest, EverySpecialCharacterSurvivesTheRoundTrip) {
    const char16_t* const special = u"a&b<c>d\"e'f\rg\nh &amp; \t\u00E9\uFFFF";
    m_writer->writeHeader();
    m_writer->openElement(u"r", false, u"v", special);
    m_writer->writeEscapedText(special);
    m_writer->closeElement(u"r");
    EXPECT_NE(written().find(u"<r v=\"a&amp;b&lt;c&gt;d&quot;e&apos;f&#xD;g&#xA;h &amp;amp; \t"),
              std::u16string::npos);

    m_file->seekTo(0, false);
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(m_file.get()));
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kOther);
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->getAttribute(u"v"), special);
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->nodeText(), special);
    ASSERT_TRUE(reader->readNext());
    EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kEndElement);
    EXPECT_FALSE(reader->readNext());
}

} // namespace
