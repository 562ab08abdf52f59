#include "engine/core/PropertyDataProperties.h"

#include <string>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/PropertyDataContent.h"

namespace {

using property_steps::FakeContentSource;
using property_steps::str;
using property_steps::writtenXml;
using property_steps::xmlReaderAtElement;

CRefPointer<CPropertyDataProperties> nestedValue() {
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("A", 1);
    return CRefPointer<CPropertyDataProperties>(new CPropertyDataProperties(set));
}

TEST(PropertyDataPropertiesTest, EqualsOnlyTheSameSet) {
    const CRefPointer<CPropertyDataProperties> value = nestedValue();
    const CRefPointer<CPropertyDataProperties> sharing(
        new CPropertyDataProperties(CRefPointer<CProperties>::share(value->getProperties())));
    EXPECT_TRUE(value->equals(sharing.get()));
    EXPECT_FALSE(value->equals(nestedValue().get()));
    EXPECT_TRUE(value->toStringW().isEmpty());
    EXPECT_FALSE(value->interpolate(sharing.get(), nestedValue().get(), 1.0f));
}

TEST(PropertyDataPropertiesTest, CloneCopiesTheNestedSet) {
    const CRefPointer<CPropertyDataProperties> value = nestedValue();
    const CRefPointer<CPropertyData> copy = value->clone();
    CProperties* copied = castPropertyData<CPropertyDataProperties>(copy.get())->getProperties();
    ASSERT_NE(copied, value->getProperties());
    copied->setInt("A", 2);
    EXPECT_EQ(value->getProperties()->getInt("A"), 1);
    const CRefPointer<CPropertyData> emptyCopy =
        CRefPointer<CPropertyDataProperties>(new CPropertyDataProperties())->clone();
    EXPECT_EQ(castPropertyData<CPropertyDataProperties>(emptyCopy.get())->getProperties(), nullptr);
}

TEST(PropertyDataPropertiesTest, WritesTheNestedValuesInsideItsElement) {
    EXPECT_EQ(writtenXml([](CXmlTextWriter& writer) {
                  CRefPointer<CPropertyData>(new CPropertyDataProperties())->writeXml(writer, "N");
              }),
              u"");
    const std::u16string xml =
        writtenXml([](CXmlTextWriter& writer) { nestedValue()->writeXml(writer, "Inner"); });
    EXPECT_EQ(xml, u"<properties Name=\"Inner\">\r\n"
                   u"\t<int Name=\"A\" Value=\"1\" />\r\n"
                   u"</properties>");
}

TEST(PropertyDataPropertiesTest, NestedContentValuesHaveNoSource) {
    FakeContentSource source;
    CRefPointer<CProperties> outer(new CProperties(&source));
    outer->readXml(xmlReaderAtElement(u"<Properties><properties Name=\"In\">"
                                      u"<font Name=\"F\" Value=\"Big.qfnt\" /></properties>"
                                      u"<font Name=\"G\" Value=\"Big.qfnt\" /></Properties>")
                       .get(),
                   true, u"");
    const CRefPointer<CPropertyData> inner = outer->get("In");
    const CPropertyDataFont* nestedFont = castPropertyData<CPropertyDataFont>(
        castPropertyData<CPropertyDataProperties>(inner.get())->getProperties()->get("F").get());
    ASSERT_NE(nestedFont, nullptr);
    EXPECT_EQ(nestedFont->getContent(), nullptr);
    EXPECT_EQ(source.loads.size(), 1u);
    EXPECT_EQ(str(outer->getString("G")), "Big.qfnt");
}

} // namespace
