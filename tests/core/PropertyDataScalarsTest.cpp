#include "engine/core/PropertyDataScalars.h"

#include <clocale>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/PropertyTypeRegistry.h"

namespace {

using property_steps::str;
using property_steps::widen;

CRefPointer<CPropertyData> valueOf(const char16_t* keyword, const char* text) {
    CRefPointer<CPropertyData> value = CPropertyTypeRegistry::shared()->create(keyword, nullptr);
    value->fromString(text);
    return value;
}

TEST(PropertyDataScalarsTest, ReadsAndWritesText) {
    struct Case {
        const char16_t* keyword;
        const char* text;
        const char* written;
    };
    const Case cases[] = {
        {u"int", "42", "42"},
        {u"int", " \t-17x", "-17"},
        {u"int", "+5", "5"},
        {u"int", "abc", "0"},
        {u"int", "-2147483648", "-2147483648"},
        {u"int", "2147483648", "2147483647"},
        {u"int", "-99999999999", "-2147483648"},
        {u"bool", "true", "true"},
        {u"bool", "True", "false"},
        {u"bool", "1", "false"},
        {u"bool", " true", "false"},
        {u"bool", "true ", "false"},
        {u"float", "0.5", "0.500000"},
        {u"float", " 1.5", "0.000000"},
        {u"float", "+2", "0.000000"},
        {u"float", "-.5", "-0.500000"},
        {u"float", "2e3", "2000.000000"},
        {u"float", "1.25px", "1.250000"},
        {u"color", "0x1F", "00000000"},
        {u"color", "#ff0000", "00000000"},
        {u"color", "123456789", "ffffffff"},
        {u"color", "ff", "000000ff"},
        {u"color", "80FF00aa", "80ff00aa"},
        {u"colorf", "1;0.5;0;1", "1.000000;0.500000;0.000000;1.000000"},
        {u"colorf", "(1, 2)", "1.000000;2.000000;0.000000;0.000000"},
        {u"vector2d", "3", "3.000000;0.000000"},
        {u"vector2d", "a1b-2c3", "1.000000;-2.000000"},
        {u"vector2d", ".5;.25", "5.000000;25.000000"},
        {u"vector3d", "1 2 3 4", "1.000000;2.000000;3.000000"},
        {u"rect", "[0,0,+640,480]", "0.000000;0.000000;640.000000;480.000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(valueOf(c.keyword, c.text)->toString()), c.written)
            << str(CString(c.keyword)) << " " << c.text;
        CRefPointer<CPropertyData> wide =
            CPropertyTypeRegistry::shared()->create(c.keyword, nullptr);
        wide->fromStringW(CStringW(widen(c.text).c_str()));
        EXPECT_EQ(str(wide->toStringW()), widen(c.written))
            << str(CString(c.keyword)) << " " << c.text;
    }
}

// Scene files and profiles are shared between machines: a comma-decimal locale must change
// neither the text written nor what is read.
TEST(PropertyDataScalarsTest, TextIgnoresTheProcessLocale) {
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr)
        GTEST_SKIP() << "no comma-decimal locale installed";
    const std::string floatText = str(valueOf(u"float", "0.5")->toString());
    const std::string rectText = str(valueOf(u"rect", "1.5;2;0.25;-3.75")->toString());
    const std::u16string vectorText = str(valueOf(u"vector2d", "-1.5;2.25")->toStringW());
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(floatText, "0.500000") << chosen;
    EXPECT_EQ(rectText, "1.500000;2.000000;0.250000;-3.750000") << chosen;
    EXPECT_EQ(vectorText, u"-1.500000;2.250000") << chosen;
}

TEST(PropertyDataScalarsTest, ComparesValuesOfTheirOwnType) {
    struct Case {
        const char16_t* keyword;
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {u"int", "7", "7", true},
        {u"int", "7", "8", false},
        {u"bool", "true", "true", true},
        {u"bool", "true", "false", false},
        {u"float", "0.5", "0.5", true},
        {u"float", "0.5", "0.5000001", false},
        {u"color", "ff00ff00", "FF00FF00", true},
        {u"color", "ff00ff00", "ff00ff01", false},
        {u"colorf", "1;2;3;4", "1;2;3;4", true},
        {u"colorf", "1;2;3;4", "1;2;3;4.0001", false},
        {u"vector2d", "1;2", "1;2", true},
        {u"vector2d", "1;2", "1;2.000001", false},
        {u"vector3d", "1;2;3", "1.00001;2;3", false},
        {u"rect", "1;2;3;4", "1;2;3;4", true},
        {u"rect", "1;2;3;4", "1;2;3;5", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueOf(c.keyword, c.a)->equals(valueOf(c.keyword, c.b).get()), c.equal)
            << str(CString(c.keyword)) << " " << c.a << " " << c.b;
    }
}

TEST(PropertyDataScalarsTest, Vector3dEqualityToleratesOneMillionth) {
    const CRefPointer<CPropertyData> origin = makeVector3dProperty(CVector3d());
    EXPECT_TRUE(origin->equals(makeVector3dProperty(CVector3d(1e-6f, -1e-6f, 1e-6f)).get()));
    EXPECT_FALSE(origin->equals(makeVector3dProperty(CVector3d(0, 0, 2e-6f)).get()));
    EXPECT_FALSE(
        makeVector2dProperty(CVector2d())->equals(makeVector2dProperty(CVector2d(1e-7f, 0)).get()));
    const CRefPointer<CPropertyData> notANumber = makeFloatProperty(NAN);
    EXPECT_FALSE(notANumber->equals(notANumber.get()));
}

TEST(PropertyDataScalarsTest, Interpolates) {
    struct Case {
        const char16_t* keyword;
        const char* from;
        const char* to;
        float t;
        const char* outBefore;
        const char* outAfter;
        bool result;
    };
    const Case cases[] = {
        {u"int", "0", "10", 0.99f, "0", "9", true},
        {u"int", "10", "0", 0.99f, "0", "1", true},
        {u"int", "-2147483648", "2147483647", 1.0f, "0", "2147483647", true},
        {u"int", "2147483647", "-2147483648", 1.0f, "0", "-2147483648", true},
        {u"int", "-2147483648", "2147483647", 0.5f, "5", "0", true},
        {u"float", "1", "3", 0.25f, "0", "1.500000", true},
        {u"color", "00000000", "ffffffff", 0.5f, "0", "7f7f7f7f", true},
        {u"color", "ff000000", "00ff0000", 0.25f, "0", "bf3f0000", true},
        {u"colorf", "0;0;0;0", "1;1;1;1", 0.25f, "", "0.250000;0.250000;0.250000;0.250000", true},
        {u"vector2d", "0;10", "10;0", 0.5f, "", "5.000000;5.000000", true},
        {u"vector3d", "0;0;0", "2;4;-8", 0.5f, "", "1.000000;2.000000;-4.000000", true},
        {u"rect", "0;0;10;10", "10;10;20;20", 0.1f, "", "1.000000;1.000000;11.000000;11.000000",
         true},
        {u"bool", "false", "true", 0.999f, "true", "false", true},
        {u"bool", "false", "true", 0.999f, "false", "false", false},
        {u"bool", "false", "true", 1.0f, "false", "true", true},
        {u"bool", "true", "true", 1.0f, "true", "true", false},
    };
    for (const Case& c : cases) {
        const CRefPointer<CPropertyData> out = valueOf(c.keyword, c.outBefore);
        EXPECT_EQ(
            valueOf(c.keyword, c.from)->interpolate(valueOf(c.keyword, c.to).get(), out.get(), c.t),
            c.result)
            << str(CString(c.keyword)) << " " << c.from << " " << c.to;
        EXPECT_EQ(str(out->toString()), c.outAfter)
            << str(CString(c.keyword)) << " " << c.from << " " << c.to;
    }
}

TEST(PropertyDataScalarsTest, InterpolatingIntsSaturatesForAnyFraction) {
    struct Case {
        float t;
        int32_t value;
    };
    const Case cases[] = {
        {NAN, -5},
        {INFINITY, 2147483647},
        {-INFINITY, -2147483647 - 1},
        {1e30f, 2147483647},
    };
    for (const Case& c : cases) {
        const CRefPointer<CPropertyDataInt> out = makeIntProperty(3);
        EXPECT_TRUE(makeIntProperty(-5)->interpolate(makeIntProperty(5).get(), out.get(), c.t));
        EXPECT_EQ(out->getValue(), c.value) << c.t;
    }
}

TEST(PropertyDataScalarsTest, FactoriesAndVectorLookup) {
    EXPECT_EQ(makeIntProperty(-3)->getValue(), -3);
    EXPECT_TRUE(makeBoolProperty(true)->getValue());
    EXPECT_EQ(makeFloatProperty(2.5f)->getValue(), 2.5f);
    EXPECT_EQ(makeColorProperty(CColor(0x12345678))->getValue(), CColor(0x12345678));
    EXPECT_EQ(makeVector2dProperty(CVector2d(1, 2))->getValue(), CVector2d(1, 2));
    EXPECT_EQ(getPropertyVector3d(makeVector3dProperty(CVector3d(1, 2, 3))), CVector3d(1, 2, 3));
    EXPECT_EQ(getPropertyVector3d(makeVector2dProperty(CVector2d(1, 2))), CVector3d());
    EXPECT_EQ(getPropertyVector3d(CRefPointer<CPropertyData>()), CVector3d());
}

} // namespace
