#include "engine/core/PropertyTypeRegistry.h"

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/PropertyDataContent.h"

namespace {

using property_steps::FakeContentSource;
using property_steps::str;

TEST(PropertyTypeRegistryTest, CreatesEmptyValuesByExactKeyword) {
    struct Case {
        const char16_t* keyword;
        int32_t id;
        const char* text;
    };
    const Case cases[] = {
        {u"int", 1, "0"},
        {u"bool", 2, "false"},
        {u"float", 3, "0.000000"},
        {u"color", 4, "00000000"},
        {u"colorf", 5, "0.000000;0.000000;0.000000;0.000000"},
        {u"vector2d", 6, "0.000000;0.000000"},
        {u"vector3d", 7, "0.000000;0.000000;0.000000"},
        {u"rect", 8, "0.000000;0.000000;0.000000;0.000000"},
        {u"string", 9, ""},
        {u"stringw", 10, ""},
        {u"stringwArray", 11, ""},
        {u"properties", 12, ""},
        {u"atlasTexture", 13, ""},
        {u"font", 14, ""},
        {u"sound", 15, ""},
    };
    CRefPointer<CPropertyTypeRegistry> registry(new CPropertyTypeRegistry());
    for (const Case& c : cases) {
        const CRefPointer<CPropertyData> value = registry->create(c.keyword, nullptr);
        ASSERT_TRUE(value) << str(CString(c.keyword));
        EXPECT_EQ(value->getTypeId(), c.id);
        EXPECT_EQ(str(value->toString()), c.text);
    }
    for (const char16_t* unknown : {u"Int", u"", u"vector2D", u"stringwarray", u"foo"})
        EXPECT_FALSE(registry->create(unknown, nullptr)) << str(CString(unknown));
}

TEST(PropertyTypeRegistryTest, OnlyContentValuesKeepTheOwner) {
    FakeContentSource source;
    CPropertyTypeRegistry* registry = CPropertyTypeRegistry::shared();
    EXPECT_EQ(registry, CPropertyTypeRegistry::shared());
    const CRefPointer<CPropertyData> atlas = registry->create(u"atlasTexture", &source);
    const CRefPointer<CPropertyData> font = registry->create(u"font", &source);
    const CRefPointer<CPropertyData> sound = registry->create(u"sound", &source);
    EXPECT_EQ(static_cast<CPropertyDataAtlasTexture*>(atlas.get())->getContentSource(), &source);
    EXPECT_EQ(static_cast<CPropertyDataFont*>(font.get())->getContentSource(), &source);
    EXPECT_EQ(static_cast<CPropertyDataSound*>(sound.get())->getContentSource(), &source);
    for (const char16_t* keyword : {u"string", u"stringw", u"properties"})
        registry->create(keyword, &source)->fromString("name.png");
    EXPECT_TRUE(source.loads.empty());
}

} // namespace
