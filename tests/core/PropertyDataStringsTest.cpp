#include "engine/core/PropertyDataStrings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"

namespace {

using property_steps::str;
using property_steps::writtenXml;
using property_steps::xmlReaderAtElement;

CArray<CStringW> strings(const std::vector<std::u16string>& texts) {
    CArray<CStringW> result;
    for (const std::u16string& text : texts)
        result.append(CStringW(text.c_str()));
    return result;
}

std::vector<std::u16string> texts(const CArray<CStringW>& strings) {
    std::vector<std::u16string> result;
    for (const CStringW& text : strings)
        result.push_back(str(text));
    return result;
}

TEST(PropertyDataStringsTest, ConvertsTextBetweenWidths) {
    const CRefPointer<CPropertyDataString> narrow = makeStringProperty("caf\xE9");
    // Bytes widen as signed values and narrow back to their low byte.
    EXPECT_EQ(str(narrow->toStringW()), u"caf\uFFE9");
    narrow->fromStringW(u"\u0141x");
    EXPECT_EQ(str(narrow->getValue()), "Ax");

    const CRefPointer<CPropertyDataStringW> wide = makeStringWProperty(u"\u20ac 5");
    EXPECT_EQ(str(wide->toString()), "\xAC 5");
    wide->fromString("plain");
    EXPECT_EQ(str(wide->getValue()), u"plain");

    const CRefPointer<CPropertyDataStringWArray> array = makeStringArrayProperty(strings({u"a"}));
    array->fromString("ignored");
    array->fromStringW(u"ignored");
    EXPECT_TRUE(array->toStringW().isEmpty());
    EXPECT_EQ(texts(array->getValue()), std::vector<std::u16string>{u"a"});

    EXPECT_EQ(str(makeNameProperty(CNameId("Walk"))->getValue()), "Walk");
}

TEST(PropertyDataStringsTest, ComparesStringArraysItemByItem) {
    const CRefPointer<CPropertyData> ab = makeStringArrayProperty(strings({u"a", u"b"}));
    EXPECT_TRUE(ab->equals(makeStringArrayProperty(strings({u"a", u"b"})).get()));
    EXPECT_FALSE(ab->equals(makeStringArrayProperty(strings({u"a"})).get()));
    EXPECT_FALSE(ab->equals(makeStringArrayProperty(strings({u"a", u"B"})).get()));
    EXPECT_TRUE(makeStringProperty("x")->equals(makeStringProperty("x").get()));
    EXPECT_FALSE(makeStringWProperty(u"x")->equals(makeStringWProperty(u"x ").get()));
}

TEST(PropertyDataStringsTest, InterpolationCopiesTheEndOnceTReachesOne) {
    for (float t : {0.5f, 0.999f, 1.0f, 2.0f}) {
        const bool copies = t >= 1.0f;
        const CRefPointer<CPropertyDataString> out = makeStringProperty("out");
        EXPECT_EQ(makeStringProperty("a")->interpolate(makeStringProperty("b").get(), out.get(), t),
                  copies);
        EXPECT_EQ(str(out->getValue()), copies ? "b" : "out");

        const CRefPointer<CPropertyDataStringW> outW = makeStringWProperty(u"out");
        EXPECT_EQ(
            makeStringWProperty(u"a")->interpolate(makeStringWProperty(u"b").get(), outW.get(), t),
            copies);
        EXPECT_EQ(str(outW->getValue()), copies ? u"b" : u"out");

        const CRefPointer<CPropertyDataStringWArray> outArray = makeStringArrayProperty({});
        EXPECT_EQ(makeStringArrayProperty({})->interpolate(
                      makeStringArrayProperty(strings({u"b"})).get(), outArray.get(), t),
                  copies);
        EXPECT_EQ(outArray->getValue().size(), copies ? 1u : 0u);
    }
}

TEST(PropertyDataStringsTest, WritesStringArraysAsChildElements) {
    const std::u16string xml = writtenXml([](CXmlTextWriter& writer) {
        makeStringArrayProperty(strings({u"One", u"T&o"}))->writeXml(writer, "Items");
    });
    EXPECT_EQ(xml, u"<stringwArray Name=\"Items\">\r\n"
                   u"\t<stringw Value=\"One\" />\r\n"
                   u"\t<stringw Value=\"T&amp;o\" />\r\n"
                   u"</stringwArray>");
}

TEST(PropertyDataStringsTest, ReadsEachStringByItsFirstAttribute) {
    struct Case {
        std::u16string xml;
        std::vector<std::u16string> read;
        std::u16string after; // the node the reader stops on, when there is one
    };
    const Case cases[] = {
        {u"<stringwArray Name=\"L\"><stringw Value=\"a\"/><x Value=\"no\"/>"
         u"<stringw Other=\"b\" Value=\"c\"/>text<stringw/></stringwArray><next/>",
         {u"a", u"b", u""},
         u"stringwArray"},
        {u"<stringwArray Name=\"L\" /><stringw Value=\"outside\"/>", {}, u"stringwArray"},
        {u"<stringwArray Name=\"L\"><stringw Value=\"cut\"/>", {u"cut"}, u""},
    };
    for (const Case& c : cases) {
        const CRefPointer<CPropertyDataStringWArray> value =
            makeStringArrayProperty(strings({u"old"}));
        const CRefPointer<CXmlTextReader> reader = xmlReaderAtElement(c.xml);
        value->readXml(*reader);
        EXPECT_EQ(texts(value->getValue()), c.read) << str(CString(c.xml.c_str()));
        if (!c.after.empty()) {
            EXPECT_EQ(str(reader->nodeName()), c.after) << str(CString(c.xml.c_str()));
        }
    }
}

TEST(PropertyDataStringsTest, ArrayLookupCopiesOnlyStringArrays) {
    EXPECT_EQ(texts(getPropertyStringArray(makeStringArrayProperty(strings({u"a"})))),
              std::vector<std::u16string>{u"a"});
    EXPECT_EQ(getPropertyStringArray(makeStringWProperty(u"a")).size(), 0u);
    EXPECT_EQ(getPropertyStringArray(CRefPointer<CPropertyData>()).size(), 0u);
}

} // namespace
