#include "engine/core/Properties.h"

#include <string>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"

namespace {

using property_steps::FakeContentSource;
using property_steps::str;
using property_steps::writtenXml;
using property_steps::xmlReaderAtElement;

const char16_t kGolden[] = u"<Properties>\r\n"
                           u"\t<int Name=\"Level\" Value=\"3\" />\r\n"
                           u"\t<bool Name=\"SoundOn\" Value=\"true\" />\r\n"
                           u"\t<vector2d Name=\"Position\" Value=\"10.000000;20.000000\" />\r\n"
                           u"</Properties>\r\n";

// Every entry in order as name=text, or the bare name for an entry without value.
std::string entries(const CProperties& set) {
    std::string listed;
    for (int32_t i = 0; i < set.getCount(); ++i) {
        if (i > 0)
            listed += ",";
        listed += str(set.getNameAt(i));
        const CRefPointer<CPropertyData> value = set.getValueAt(i);
        if (value)
            listed += "=" + str(value->toString());
    }
    return listed;
}

std::u16string written(const CProperties& set, bool header = false) {
    return writtenXml([&](CXmlTextWriter& writer) { set.writeXml(&writer, header, u"", true); });
}

CRefPointer<CProperties> readSet(const std::u16string& xml, bool* result = nullptr) {
    CRefPointer<CProperties> set(new CProperties());
    const bool read = set->readXml(xmlReaderAtElement(xml).get(), true, u"");
    if (result)
        *result = read;
    return set;
}

TEST(PropertiesTest, WritesAndReadsTheGoldenSet) {
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("Level", 3);
    set->addBool("SoundOn", true);
    set->addVector2d("Position", CVector2d(10, 20));
    EXPECT_EQ(written(*set), kGolden);
    EXPECT_EQ(written(*set, true), std::u16string(u"\uFEFF<?xml version=\"1.0\"?>\r\n") + kGolden);

    bool result = false;
    const CRefPointer<CProperties> read = readSet(kGolden, &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(entries(*read), "Level=3,SoundOn=true,Position=10.000000;20.000000");
    EXPECT_EQ(read->getInt("Level"), 3);
    EXPECT_TRUE(read->getBool("SoundOn"));
}

TEST(PropertiesTest, DuplicateNamesKeepBothEntries) {
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("A", 1);
    set->addInt("B", 9);
    set->addInt("A", 2);
    EXPECT_EQ(set->getCount(), 3);
    EXPECT_EQ(set->getInt("A"), 2);
    EXPECT_EQ(set->indexOf("A"), 2);
    EXPECT_EQ(set->indexOf("C"), -1);
    EXPECT_EQ(written(*set), u"<Properties>\r\n"
                             u"\t<int Name=\"A\" Value=\"1\" />\r\n"
                             u"\t<int Name=\"B\" Value=\"9\" />\r\n"
                             u"\t<int Name=\"A\" Value=\"2\" />\r\n"
                             u"</Properties>\r\n");
    set->setInt("A", 5);
    set->setInt("C", 7);
    EXPECT_EQ(entries(*set), "A=1,B=9,A=5,C=7");
    EXPECT_EQ(entries(*set->clone()), "A=1,B=9,A=5,C=7");
    EXPECT_EQ(set->clone()->indexOf("A"), 2);

    // A set read from a file behaves the same.
    const CRefPointer<CProperties> read = readSet(written(*set));
    EXPECT_EQ(entries(*read), "A=1,B=9,A=5,C=7");
    EXPECT_EQ(read->getInt("A"), 5);
}

TEST(PropertiesTest, PositionsOutOfRangeChangeNothing) {
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("A", 1);
    for (int32_t position : {-1, 1, 1000}) {
        set->setAt(position, makeIntProperty(2));
        EXPECT_FALSE(set->getValueAt(position));
        EXPECT_TRUE(set->getNameAt(position).isEmpty());
    }
    EXPECT_EQ(entries(*set), "A=1");
    set->setAt(0, CRefPointer<CPropertyData>());
    EXPECT_FALSE(set->get("A"));
    EXPECT_EQ(written(*set), u"<Properties>\r\n</Properties>\r\n");
    set->clear();
    EXPECT_EQ(set->getCount(), 0);
    EXPECT_EQ(set->indexOf("A"), -1);
}

TEST(PropertiesTest, ReadsForgivingly) {
    struct Case {
        std::u16string xml;
        const char* entries;
    };
    const Case cases[] = {
        {u"<Properties />", ""},
        {u"<Properties></Properties><int Name=\"after\" Value=\"1\" />", ""},
        // The children of an unknown element become entries of the set.
        {u"<Properties><foo Name=\"x\"><int Name=\"y\" Value=\"4\" /></foo></Properties>", "x,y=4"},
        {u"<Properties><Int Name=\"q\" Value=\"4\" /></Properties>", "q"},
        {u"<Properties><int Value=\"1\" /><int Name=\"\" Value=\"2\" /><int Name=\"z\" "
         u"/></Properties>",
         "z=0"},
        {u"<Properties>\r\n\t\t<!-- note -->text<![CDATA[<int Name=\"c\"/>]]></other>"
         u"<bool Name=\"b\" Value=\"true\"/></Properties><int Name=\"after\" Value=\"1\" />",
         "b=true"},
        {u"<Properties><stringwArray Name=\"s\"><int Name=\"no\" Value=\"1\"/></stringwArray>"
         u"<int Name=\"i\" Value=\"2\"/></Properties>",
         "s=,i=2"},
        {u"<Properties><int Name=\"cut\" Value=\"1\"/>", "cut=1"},
    };
    for (const Case& c : cases) {
        bool result = false;
        EXPECT_EQ(entries(*readSet(c.xml, &result)), c.entries) << str(CString(c.xml.c_str()));
        EXPECT_TRUE(result);
    }
}

// A set's element written as a single tag is the whole set, also where the reader stands on the
// element around it (a profile around its "Parameters"): nothing after it is taken into the set.
TEST(PropertiesTest, ASetWrittenAsASingleTagTakesNothingAfterIt) {
    struct Case {
        std::u16string xml;
        const char16_t* element;
        const char* entries;
        const char16_t* next; // the node the reader gives after the set; empty at the end
    };
    const Case cases[] = {
        {u"<Profile><Parameters/></Profile><int Name=\"after\" Value=\"1\"/>", u"Parameters", "",
         u"Profile"},
        {u"<Profile><Parameters /></Profile><Profile><Parameters><int Name=\"b\" Value=\"2\"/>"
         u"</Parameters></Profile>",
         u"Parameters", "", u"Profile"},
        {u"<Node><Properties/><int Name=\"after\" Value=\"1\"/></Node>", u"", "", u"int"},
        {u"<Profile><Parameters><int Name=\"in\" Value=\"2\"/></Parameters></Profile>",
         u"Parameters", "in=2", u"Profile"},
        // Within the set's own element, a nested set written as a single tag is a value.
        {u"<Properties><properties Name=\"n\"/><int Name=\"after\" Value=\"1\"/></Properties>", u"",
         "n=,after=1", u""},
    };
    for (const Case& c : cases) {
        const CRefPointer<CXmlTextReader> reader = xmlReaderAtElement(c.xml);
        CRefPointer<CProperties> set(new CProperties());
        EXPECT_TRUE(set->readXml(reader.get(), false, c.element));
        EXPECT_EQ(entries(*set), c.entries) << str(CString(c.xml.c_str()));
        const bool more = reader->readNext();
        EXPECT_EQ(more ? str(CString(reader->nodeName().c_str())) : "", str(CString(c.next)))
            << str(CString(c.xml.c_str()));
    }
}

// A set read again reuses the storage of its last read: nothing of that read may show through,
// and a value someone still holds is not the one overwritten.
TEST(PropertiesTest, ReadingAgainReplacesEveryValue) {
    CRefPointer<CProperties> set(new CProperties());
    const std::u16string first = u"<Properties><int Name=\"z\" Value=\"5\"/><string Name=\"s\" "
                                 u"Value=\"old\"/><int Name=\"held\" Value=\"7\"/>"
                                 u"<float Name=\"f\" Value=\"1.5\"/></Properties>";
    ASSERT_TRUE(set->readXml(xmlReaderAtElement(first).get(), true, u""));
    const CRefPointer<CPropertyData> held = set->get("held");

    const std::u16string second = u"<Properties><int Name=\"z\"/><int Name=\"s\" Value=\"2\"/>"
                                  u"<int Name=\"q\" Value=\"9\"/><bool Name=\"f\" "
                                  u"Value=\"true\"/><string Name=\"t\"/></Properties>";
    ASSERT_TRUE(set->readXml(xmlReaderAtElement(second).get(), true, u""));
    EXPECT_EQ(entries(*set), "z=0,s=2,q=9,f=true,t=");
    EXPECT_EQ(set->indexOf("held"), -1);
    EXPECT_EQ(held->toString(), "7");
    ASSERT_TRUE(set->readXml(xmlReaderAtElement(first).get(), true, u""));
    EXPECT_EQ(entries(*set), "z=5,s=old,held=7,f=1.500000");
    EXPECT_EQ(held->toString(), "7");
}

TEST(PropertiesTest, ChecksTheElementName) {
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("old", 1);
    const std::u16string other = u"<Settings><int Name=\"a\" Value=\"1\" /></Settings>";
    EXPECT_FALSE(set->readXml(xmlReaderAtElement(other).get(), true, u""));
    EXPECT_EQ(set->getCount(), 0);
    EXPECT_TRUE(set->readXml(xmlReaderAtElement(other).get(), true, u"Settings"));
    EXPECT_EQ(entries(*set), "a=1");
    EXPECT_TRUE(set->readXml(xmlReaderAtElement(other).get(), false, u""));
    EXPECT_EQ(entries(*set), "a=1");
    EXPECT_FALSE(set->readXml(nullptr, false, u""));
    EXPECT_EQ(entries(*set), "a=1");
    EXPECT_FALSE(set->writeXml(nullptr, true, u"", true));
}

TEST(PropertiesTest, CloneIsIndependent) {
    FakeContentSource source;
    CRefPointer<CProperties> nested(new CProperties());
    nested->addInt("Inner", 1);
    CRefPointer<CProperties> set(new CProperties(&source));
    set->add("Nested", CRefPointer<CPropertyData>(new CPropertyDataProperties(nested)));
    set->addFloat("F", 0.5f);
    set->add("Empty", CRefPointer<CPropertyData>());

    const CRefPointer<CProperties> copy = set->clone();
    EXPECT_EQ(copy->getOwner(), &source);
    EXPECT_EQ(entries(*copy), "Nested=,F=0.500000,Empty");
    EXPECT_NE(copy->get("F"), set->get("F"));
    castPropertyData<CPropertyDataProperties>(copy->get("Nested").get())
        ->getProperties()
        ->setInt("Inner", 2);
    copy->setFloat("F", 1.0f);
    EXPECT_EQ(nested->getInt("Inner"), 1);
    EXPECT_EQ(set->getFloat("F"), 0.5f);
}

TEST(PropertiesTest, TypedShortcuts) {
    CRefPointer<CProperties> set(new CProperties());
    set->setFloat("F", 1.5f);
    set->setInt("I", 7);
    set->setBool("B", true);
    set->setString("S", "text");
    setPropertyStringW(*set, "W", u"wide");
    set->addColor("C", CColor(0xff102030));
    set->addVector3d("V", CVector3d(1, 2, 3));
    set->addStringArray("L", CArray<CStringW>());
    set->addString("S8", "s");
    set->addStringW("SW", u"w");
    set->addAtlasTexture("T", nullptr);
    EXPECT_EQ(set->getInt("F"), 0);
    EXPECT_EQ(set->getFloat("I"), 0.0f);
    EXPECT_FALSE(set->getBool("I"));
    EXPECT_EQ(set->getInt("I"), 7);
    EXPECT_EQ(set->getFloat("F"), 1.5f);
    EXPECT_EQ(str(set->getString("I")), "7");
    EXPECT_EQ(str(set->getStringW("B")), u"true");
    EXPECT_EQ(str(set->getStringW("W")), u"wide");
    EXPECT_EQ(str(set->getString("absent")), "");
    EXPECT_EQ(set->getInt("absent"), 0);
    setPropertyStringW(*set, "W", u"again");
    EXPECT_EQ(entries(*set), "F=1.500000,I=7,B=true,S=text,W=again,C=ff102030,"
                             "V=1.000000;2.000000;3.000000,L=,S8=s,SW=w,T=");
}

TEST(PropertiesTest, ContentValuesLoadThroughTheOwner) {
    FakeContentSource source;
    CRefPointer<CProperties> set(new CProperties(&source));
    set->readXml(xmlReaderAtElement(u"<Properties><atlasTexture Name=\"Icon\" Value=\"a.png\" />"
                                    u"<sound Name=\"Click\" Value=\"c.ogg\" /></Properties>")
                     .get(),
                 true, u"");
    EXPECT_EQ(source.loads.size(), 2u);
    EXPECT_EQ(str(set->getString("Icon")), "a.png");
    EXPECT_EQ(str(set->getString("Click")), "c.ogg");
}

// Nests `depth` sets below the top set, an int "leaf" in the innermost and an int "after"
// in the top set after them.
std::u16string nestedXml(int depth) {
    std::u16string xml = u"<Properties>";
    for (int i = 0; i < depth; ++i)
        xml += u"<properties Name=\"n\">";
    xml += u"<int Name=\"leaf\" Value=\"1\" />";
    for (int i = 0; i < depth; ++i)
        xml += u"</properties>";
    return xml + u"<int Name=\"after\" Value=\"2\" /></Properties>";
}

// The deepest set that was read, and how deep it lies.
const CProperties* deepest(const CProperties& top, int& depth) {
    const CProperties* set = &top;
    for (depth = 0;; ++depth) {
        const CRefPointer<CPropertyData> value = set->get("n");
        const CPropertyDataProperties* nested =
            castPropertyData<CPropertyDataProperties>(value.get());
        if (!nested)
            return set;
        set = nested->getProperties();
    }
}

TEST(PropertiesTest, NestingIsReadToSixtyFourLevels) {
    struct Case {
        int depth;
        bool result;
        int deepestRead;
        const char* deepestEntries;
    };
    const Case cases[] = {
        {64, true, 64, "leaf=1"},
        {65, false, 65, ""},
        {100000, false, 65, ""},
    };
    for (const Case& c : cases) {
        bool result = true;
        const CRefPointer<CProperties> set = readSet(nestedXml(c.depth), &result);
        EXPECT_EQ(result, c.result) << c.depth;
        int depth = 0;
        EXPECT_EQ(entries(*deepest(*set, depth)), c.deepestEntries) << c.depth;
        EXPECT_EQ(depth, c.deepestRead) << c.depth;
        EXPECT_EQ(set->getInt("after"), 2) << c.depth;
    }
}

} // namespace
