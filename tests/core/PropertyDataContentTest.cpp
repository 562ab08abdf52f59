#include "engine/core/PropertyDataContent.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/PropertySteps.h"
#include "engine/core/PropertyTypeRegistry.h"

namespace {

using property_steps::FakeContentSource;
using property_steps::str;
using Load = FakeContentSource::Load;

constexpr uint32_t kAtlas = IPropertyContentSource::kAtlasTextureType;

struct ContentType {
    const char16_t* keyword;
    uint32_t type;
};

const ContentType kContentTypes[] = {
    {u"atlasTexture", kAtlas},
    {u"font", IPropertyContentSource::kFontType},
    {u"sound", IPropertyContentSource::kSoundType},
};

CRefPointer<CPropertyData> create(const char16_t* keyword, IPropertyContentSource* source) {
    return CPropertyTypeRegistry::shared()->create(keyword, source);
}

TEST(PropertyDataContentTest, LoadsByNameRelativeToTheSource) {
    for (const ContentType& c : kContentTypes) {
        FakeContentSource source;
        const CRefPointer<CPropertyData> value = create(c.keyword, &source);
        value->fromString("ui/Icon.png");
        EXPECT_EQ(source.loads, (std::vector<Load>{{c.type, u"data/ui/Icon.png", true}}));
        EXPECT_EQ(str(value->toString()), "ui/Icon.png");
        EXPECT_EQ(str(value->toStringW()), u"ui/Icon.png");

        const CRefPointer<CPropertyData> same = create(c.keyword, &source);
        same->fromStringW(u"ui/Icon.png");
        EXPECT_TRUE(value->equals(same.get()));
        same->fromString("ui/Other.png");
        EXPECT_FALSE(value->equals(same.get()));
        // A name that does not load leaves no content, but the source stays.
        same->fromString("missing.png");
        EXPECT_TRUE(same->toString().isEmpty());
        same->fromString("ui/Icon.png");
        EXPECT_TRUE(value->equals(same.get())) << str(CString(c.keyword));
    }
}

TEST(PropertyDataContentTest, WithoutSourceTextIsIgnored) {
    for (const ContentType& c : kContentTypes) {
        const CRefPointer<CPropertyData> value = create(c.keyword, nullptr);
        value->fromString("ui/Icon.png");
        EXPECT_TRUE(value->toString().isEmpty());
        EXPECT_TRUE(value->equals(create(c.keyword, nullptr).get()));
    }
    // An atlas texture ignores an empty name; fonts and sounds ask for it and get nothing.
    FakeContentSource source;
    create(u"atlasTexture", &source)->fromString("");
    EXPECT_TRUE(source.loads.empty());
    create(u"font", &source)->fromString("");
    EXPECT_EQ(source.loads.size(), 1u);
}

TEST(PropertyDataContentTest, ClonesShareTheContent) {
    FakeContentSource source;
    FakeContentSource other;
    for (const ContentType& c : kContentTypes) {
        const CRefPointer<CPropertyData> value = create(c.keyword, &source);
        const CRefPointer<CPropertyData> emptyClone = value->clone();
        emptyClone->fromString("a.png");
        // Without content only an atlas texture clone keeps the source.
        EXPECT_EQ(emptyClone->toString().isEmpty(), c.type != kAtlas) << str(CString(c.keyword));

        value->fromString("b.png");
        const CRefPointer<CPropertyData> copy = value->clone();
        EXPECT_TRUE(copy->equals(value.get()));
        EXPECT_EQ(copy->getRefCount(), 1);
    }
    // Content brings its own source along.
    const CRefPointer<CPropertyDataFont> font(new CPropertyDataFont(&source));
    font->setContent(other.content(IPropertyContentSource::kFontType, u"data/x.qfnt"));
    EXPECT_EQ(font->getContentSource(), &other);
    EXPECT_EQ(static_cast<CPropertyDataFont*>(font->clone().get())->getContentSource(), &other);
}

TEST(PropertyDataContentTest, FactoriesTakeTheOwnerOfTheContent) {
    FakeContentSource source;
    const CRefPointer<CPropertyDataAtlasTexture> none = makeAtlasTextureProperty(nullptr);
    EXPECT_EQ(none->getTexture(), nullptr);
    EXPECT_EQ(none->getContentSource(), nullptr);
    const CRefPointer<IPropertyAtlasTexture> texture = source.atlas(u"data/hero.png");
    const CRefPointer<CPropertyDataAtlasTexture> atlas = makeAtlasTextureProperty(texture.get());
    EXPECT_EQ(atlas->getContentSource(), &source);
    EXPECT_EQ(str(atlas->toString()), "hero.png");
    EXPECT_EQ(texture->getRefCount(), 3); // the source's cache, this test and the value
    const CRefPointer<IPropertyContent> font =
        source.content(IPropertyContentSource::kFontType, u"data/Big.qfnt");
    EXPECT_EQ(makeFontProperty(font.get())->getContentSource(), &source);
    EXPECT_EQ(makeFontProperty(nullptr)->getContentSource(), nullptr);
}

class AtlasInterpolationTest : public ::testing::Test {
protected:
    CRefPointer<CPropertyDataAtlasTexture> frame(const char16_t* name) {
        return makeAtlasTextureProperty(m_source.atlas(std::u16string(u"data/") + name).get());
    }

    std::vector<std::u16string> loadedNames() const {
        std::vector<std::u16string> names;
        for (const Load& load : m_source.loads) {
            EXPECT_EQ(load.type, kAtlas);
            EXPECT_FALSE(load.relative);
            names.push_back(load.name);
        }
        return names;
    }

    FakeContentSource m_source;
};

TEST_F(AtlasInterpolationTest, StepsThroughFramesInBothDirections) {
    struct Case {
        const char16_t* from;
        const char16_t* to;
        float t;
        bool prepared;
        const char* expected;
        size_t loads; // beyond the preparation
    };
    const Case cases[] = {
        {u"walk0001.png", u"walk0005.png", 0.5f, true, "walk0003.png", 0},
        {u"walk0001.png", u"walk0005.png", 0.5f, false, "walk0003.png", 1},
        {u"walk0005.png", u"walk0001.png", 0.5f, true, "walk0003.png", 0},
        {u"walk0005.png", u"walk0001.png", 0.5f, false, "walk0003.png", 1},
        {u"walk0005.png", u"walk0001.png", 0.8f, false, "walk0002.png", 1},
        {u"walk0001.png", u"walk0005.png", 0.0f, false, "walk0001.png", 1},
        {u"walk0001.png", u"walk0005.png", 1.0f, false, "walk0005.png", 0},
        {u"walk9998.png", u"walk10002.png", 0.5f, false, "walk10000.png", 1},
        {u"hero.png", u"walk0005.png", 0.5f, true, "hero.png", 0},
        {u"walk0001.png", u"hero.png", 0.99f, true, "walk0001.png", 0},
    };
    for (const Case& c : cases) {
        m_source.loads.clear();
        const CRefPointer<CPropertyDataAtlasTexture> from = frame(c.from);
        const CRefPointer<CPropertyDataAtlasTexture> to = frame(c.to);
        if (c.prepared)
            from->prepareInterpolation(to.get());
        const size_t prepared = m_source.loads.size();
        const CRefPointer<CPropertyDataAtlasTexture> out(new CPropertyDataAtlasTexture());
        EXPECT_TRUE(from->interpolate(to.get(), out.get(), c.t));
        EXPECT_EQ(str(out->toString()), c.expected) << str(CString(c.from)) << " " << c.t;
        EXPECT_EQ(m_source.loads.size() - prepared, c.loads) << str(CString(c.from)) << " " << c.t;
        // Asked again, out already holds that texture.
        EXPECT_FALSE(from->interpolate(to.get(), out.get(), c.t));
    }
}

TEST_F(AtlasInterpolationTest, PreparingLoadsTheFramesInOrder) {
    const CRefPointer<CPropertyDataAtlasTexture> low = frame(u"run0002.png");
    const CRefPointer<CPropertyDataAtlasTexture> high = frame(u"run0005.png");
    m_source.loads.clear();
    low->prepareInterpolation(high.get());
    high->prepareInterpolation(low.get());
    EXPECT_EQ(loadedNames(), (std::vector<std::u16string>{
                                 u"data/run0002.png", u"data/run0003.png", u"data/run0004.png",
                                 u"data/run0005.png", u"data/run0005.png", u"data/run0004.png",
                                 u"data/run0003.png", u"data/run0002.png"}));
    m_source.loads.clear();
    low->prepareInterpolation(frame(u"run0002.png").get());
    low->prepareInterpolation(
        CRefPointer<CPropertyDataAtlasTexture>(new CPropertyDataAtlasTexture(&m_source)).get());
    EXPECT_TRUE(m_source.loads.empty());
}

TEST_F(AtlasInterpolationTest, MissingFramesLeaveOutWithoutTexture) {
    const CRefPointer<CPropertyDataAtlasTexture> from = frame(u"missing0001.png");
    const CRefPointer<CPropertyDataAtlasTexture> to = frame(u"missing0003.png");
    from->prepareInterpolation(to.get());
    const CRefPointer<CPropertyDataAtlasTexture> out = frame(u"hero.png");
    EXPECT_TRUE(from->interpolate(to.get(), out.get(), 0.5f));
    EXPECT_EQ(out->getTexture(), nullptr);
    EXPECT_EQ(out->getContentSource(), &m_source);
    EXPECT_FALSE(from->interpolate(to.get(), out.get(), 0.5f));
}

// Frame numbers come from content names, which come from files: a far target must not make
// preparation load every frame in between.
TEST_F(AtlasInterpolationTest, PreparationLoadsAtMostTenThousandFrames) {
    const CRefPointer<CPropertyDataAtlasTexture> from = frame(u"missing0000.png");
    m_source.loads.clear();
    from->prepareInterpolation(frame(u"missing2000000000.png").get());
    EXPECT_EQ(m_source.loads.size(), CPropertyDataAtlasTexture::kMaxPreparedFrames);
    const CRefPointer<CPropertyDataAtlasTexture> out(new CPropertyDataAtlasTexture());
    from->interpolate(frame(u"missing2000000000.png").get(), out.get(), 0.5f);
    EXPECT_EQ(m_source.loads.back().name, u"data/missing1000000000.png");
}

TEST(PropertyDataContentTest, FontsAndSoundsSwitchAtTheEnd) {
    FakeContentSource source;
    for (const ContentType& c : kContentTypes) {
        if (c.type == kAtlas)
            continue;
        const CRefPointer<CPropertyData> from = create(c.keyword, &source);
        const CRefPointer<CPropertyData> to = create(c.keyword, &source);
        const CRefPointer<CPropertyData> out = create(c.keyword, &source);
        from->fromString("a");
        to->fromString("b");
        EXPECT_TRUE(from->interpolate(to.get(), out.get(), 0.9f));
        EXPECT_EQ(str(out->toString()), "a");
        EXPECT_FALSE(from->interpolate(to.get(), out.get(), 0.5f));
        EXPECT_TRUE(from->interpolate(to.get(), out.get(), 1.0f));
        EXPECT_EQ(str(out->toString()), "b");
    }
}

} // namespace
