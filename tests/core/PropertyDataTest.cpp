#include "engine/core/PropertyData.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/PropertyTypeRegistry.h"

namespace {

using property_steps::FakeContentSource;
using property_steps::str;
using property_steps::writtenXml;
using property_steps::xmlReaderAtElement;

struct TypeRow {
    const char16_t* keyword;
    const char16_t* className;
    int32_t id;
};

const TypeRow kTypes[] = {
    {u"int", u"CPropertyDataInt", 1},
    {u"bool", u"CPropertyDataBool", 2},
    {u"float", u"CPropertyDataFloat", 3},
    {u"color", u"CPropertyDataColor", 4},
    {u"colorf", u"CPropertyDataColorf", 5},
    {u"vector2d", u"CPropertyDataVector2d", 6},
    {u"vector3d", u"CPropertyDataVector3d", 7},
    {u"rect", u"CPropertyDataRect", 8},
    {u"string", u"CPropertyDataString", 9},
    {u"stringw", u"CPropertyDataStringW", 10},
    {u"stringwArray", u"CPropertyDataStringWArray", 11},
    {u"properties", u"CPropertyDataProperties", 12},
    {u"atlasTexture", u"CPropertyDataAtlasTexture", 13},
    {u"font", u"CPropertyDataFont", 14},
    {u"sound", u"CPropertyDataSound", 15},
};

CRefPointer<CPropertyData> create(const char16_t* keyword, IPropertyContentSource* owner) {
    return CPropertyTypeRegistry::shared()->create(keyword, owner);
}

TEST(PropertyDataTest, DescribesItsType) {
    for (const TypeRow& row : kTypes) {
        const CRefPointer<CPropertyData> value = create(row.keyword, nullptr);
        ASSERT_TRUE(value) << str(CString(row.keyword));
        EXPECT_EQ(str(value->getTypeKeyword()), row.keyword);
        EXPECT_EQ(str(value->getClassName()), row.className);
        EXPECT_EQ(value->getTypeId(), row.id);
        EXPECT_TRUE(value->isKindOf(row.id));
        EXPECT_TRUE(value->isKindOf(0));
        EXPECT_FALSE(value->isKindOf(row.id % 15 + 1));
        EXPECT_EQ(value->getRefCount(), 1);
    }
}

// Values of different types are never equal and never interpolated, even when both are
// empty; key frames and scene files are input.
TEST(PropertyDataTest, MismatchedTypesAreNeitherEqualNorInterpolated) {
    FakeContentSource source;
    for (const TypeRow& a : kTypes) {
        for (const TypeRow& b : kTypes) {
            const CRefPointer<CPropertyData> from = create(a.keyword, &source);
            const CRefPointer<CPropertyData> to = create(b.keyword, &source);
            const CRefPointer<CPropertyData> out = create(b.keyword, &source);
            EXPECT_EQ(from->equals(to.get()), a.id == b.id)
                << str(CString(a.keyword)) << " " << str(CString(b.keyword));
            if (a.id != b.id) {
                EXPECT_FALSE(from->interpolate(to.get(), out.get(), 1.0f));
                EXPECT_FALSE(from->interpolate(from.get(), out.get(), 1.0f));
                from->prepareInterpolation(to.get());
            }
        }
        EXPECT_FALSE(create(a.keyword, nullptr)->equals(nullptr));
    }
    EXPECT_TRUE(source.loads.empty());
}

CRefPointer<CPropertyData> sample(const char16_t* keyword, FakeContentSource& source) {
    const CRefPointer<CPropertyData> value = create(keyword, &source);
    const std::u16string name = keyword;
    if (name == u"stringwArray") {
        CArray<CStringW> strings;
        for (const char16_t* text : {u"x", u"", u"y&<z>"})
            strings.append(CStringW(text));
        return makeStringArrayProperty(strings);
    }
    if (name == u"properties") {
        CRefPointer<CProperties> nested(new CProperties());
        nested->addInt("Level", 3);
        nested->addStringW("Title", u"\"Caf\u00e9\"");
        return CRefPointer<CPropertyData>(new CPropertyDataProperties(nested));
    }
    const std::u16string texts[][2] = {
        {u"int", u"-2147483648"},
        {u"bool", u"true"},
        {u"float", u"-3.75"},
        {u"color", u"80ff00aa"},
        {u"colorf", u"1;0.5;0;0.25"},
        {u"vector2d", u"10;-20"},
        {u"vector3d", u"1.5;2.5;-3.5"},
        {u"rect", u"0;0;640;480"},
        {u"string", u"a<b & \"c\" caf\u00e9"},
        {u"stringw", u"line\r\n'\u20ac'"},
        {u"atlasTexture", u"hero0001.png"},
        {u"font", u"fonts/Big.qfnt"},
        {u"sound", u"sounds/Click.ogg"},
    };
    for (const auto& text : texts) {
        if (text[0] == name)
            value->fromStringW(CStringW(text[1].c_str()));
    }
    return value;
}

std::u16string writtenValue(const CPropertyData& value) {
    return writtenXml([&](CXmlTextWriter& writer) {
        writer.writeHeader();
        value.writeXml(writer, "Item");
        writer.writeNewLine();
    });
}

TEST(PropertyDataTest, EveryTypeSurvivesAnXmlRoundTrip) {
    FakeContentSource source;
    for (const TypeRow& row : kTypes) {
        const CRefPointer<CPropertyData> value = sample(row.keyword, source);
        const std::u16string xml = writtenValue(*value);
        const CRefPointer<CXmlTextReader> reader = xmlReaderAtElement(xml);
        EXPECT_EQ(str(reader->nodeName()), row.keyword);
        EXPECT_EQ(str(reader->getAttribute(u"Name")), u"Item");
        const CRefPointer<CPropertyData> copy = create(row.keyword, &source);
        copy->readXml(*reader);
        // Equality of nested sets is identity: compare what they write instead.
        if (row.id == CPropertyDataProperties::kTypeId) {
            EXPECT_EQ(writtenValue(*copy), xml);
        } else {
            EXPECT_TRUE(copy->equals(value.get())) << str(CString(row.keyword));
        }
        // Values with children stop on their own end tag.
        if (row.id == CPropertyDataStringWArray::kTypeId ||
            row.id == CPropertyDataProperties::kTypeId) {
            EXPECT_EQ(reader->nodeKind(), CXmlTextReader::kEndElement);
            EXPECT_EQ(str(reader->nodeName()), row.keyword);
        }
    }
}

TEST(PropertyDataTest, WritesOneEmptyElement) {
    const std::u16string xml = writtenXml([](CXmlTextWriter& writer) {
        makeVector2dProperty(CVector2d(10, 20))->writeXml(writer, "Position");
    });
    EXPECT_EQ(xml, u"<vector2d Name=\"Position\" Value=\"10.000000;20.000000\" />");
}

TEST(PropertyDataTest, MissingValueAttributeReadsAsEmptyText) {
    for (const char16_t* keyword : {u"int", u"bool", u"vector2d", u"color", u"stringw"}) {
        const CRefPointer<CPropertyData> value = create(keyword, nullptr);
        value->fromString("1");
        const CRefPointer<CXmlTextReader> reader =
            xmlReaderAtElement(std::u16string(u"<") + keyword + u" Name=\"a\" />");
        value->readXml(*reader);
        const CRefPointer<CPropertyData> empty = create(keyword, nullptr);
        empty->fromString("");
        EXPECT_TRUE(value->equals(empty.get())) << str(CString(keyword));
    }
}

TEST(PropertyDataTest, TextHelpersAcceptEmptyReferences) {
    const CRefPointer<CPropertyData> none;
    EXPECT_TRUE(getPropertyText(none).isEmpty());
    EXPECT_TRUE(getPropertyTextW(none).isEmpty());
    EXPECT_EQ(getPropertyNameId(none.get()).getId(), -1);
    const CRefPointer<CPropertyData> seven = makeIntProperty(7);
    EXPECT_EQ(str(getPropertyText(seven)), "7");
    CStringW text;
    copyPropertyTextW(text, seven);
    EXPECT_EQ(str(text), u"7");
    EXPECT_EQ(getPropertyNameId(makeStringProperty("Idle").get()), CNameId("Idle"));
    EXPECT_EQ(castPropertyData<CPropertyDataInt>(seven.get()), seven.get());
    EXPECT_EQ(castPropertyData<CPropertyDataFloat>(seven.get()), nullptr);
}

} // namespace
