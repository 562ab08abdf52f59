#include "game/screens/MapLocationButton.h"

#include <gtest/gtest.h>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "tests/game/screens/ScreenFixture.h"
#include "tests/scene/SpriteFixtures.h"

namespace {

// A level button of the game's menus' templates, with the three star pictures put in the
// content cache as fixtures of their own, so that each grade shows a picture the test knows.
class MapLocationButtonTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        const char16_t* names[] = {u"scenes/images/Map/BronzeStar.png",
                                   u"scenes/images/Map/SilverStar.png",
                                   u"scenes/images/Map/GoldStar.png"};
        for (int grade = 0; grade < 3; ++grade) {
            stars[grade] = makeAtlasTexture(names[grade], 2, 2, 2, 2, CRect(0, 0, 2, 2),
                                            [](int32_t, int32_t) { return 0xFFFFFFFFu; });
            ASSERT_TRUE(
                content().addToCacheAs(CContentKey(&content(), names[grade]), stars[grade].get()));
        }
        button = makeButton();
        button->setCurrent(false);
    }

    CRefPointer<GMapLocationButton> makeButton() {
        return CRefPointer<GMapLocationButton>(new GMapLocationButton(
            CContentKey(&content(), u"scenes/MapScene.qscn"), nullptr, &manager()));
    }
    // The picture of the grade (1 to 3), none for any other value.
    CAtlasTexture* star(int32_t grade) const {
        return grade >= 1 && grade <= 3 ? stars[grade - 1].get() : nullptr;
    }
    CAtlasTexture* shownStar() const {
        SpriteNode* sprite = button->getStarNode();
        return sprite != nullptr ? sprite->getImage() : nullptr;
    }

    CRefPointer<CAtlasTexture> stars[3];
    CRefPointer<GMapLocationButton> button;
};

TEST_F(MapLocationButtonTest, EachGradeShowsItsStarAndAnyOtherValueNone) {
    ASSERT_NE(button->getStarNode(), nullptr) << "\"MapButton\" has a \"Star\"";
    for (int32_t grade : {3, 2, 1, 0, -1, 4, 2}) {
        button->setStarType(grade);
        EXPECT_EQ(button->getStarType(), grade);
        EXPECT_EQ(shownStar(), star(grade)) << grade;
        EXPECT_TRUE(button->getStarNode()->isVisible()) << grade;
    }
}

TEST_F(MapLocationButtonTest, AGradeStoredBeforeTheLookHasAStarShowsOnceItHas) {
    button->setTemplateName(name("Button"));
    EXPECT_EQ(button->getStarNode(), nullptr);
    button->setStarType(3);
    EXPECT_EQ(button->getStarType(), 3);
    button->setCurrent(true);
    EXPECT_EQ(shownStar(), star(3));
}

TEST_F(MapLocationButtonTest, ALockedButtonHidesItsStarUntilEnabledAgainWhateverItsLook) {
    button->setStarType(3);
    button->setEnabled(false);
    EXPECT_FALSE(button->getStarNode()->isVisible());
    button->setCurrent(true);
    EXPECT_FALSE(button->getStarNode()->isVisible()) << "a new look of a locked level";
    button->setEnabled(true);
    EXPECT_TRUE(button->getStarNode()->isVisible());
    EXPECT_EQ(shownStar(), star(3));
}

TEST_F(MapLocationButtonTest, SwitchingTheLookKeepsCaptionImageAndStar) {
    const CRefPointer<CAtlasTexture> image = makeWholeImage(4, 4);
    button->setText(u"2.5");
    button->setImage(image.get());
    button->setStarType(2);
    for (bool current : {true, false, true}) {
        button->setCurrent(current);
        EXPECT_EQ(button->getTemplateName(), name(current ? "MapButtonCurrent" : "MapButton"));
        ASSERT_NE(button->getTextChild(), nullptr);
        EXPECT_EQ(button->getTextChild()->getText(), CStringW(u"2.5"));
        ASSERT_NE(button->getImageChild(), nullptr);
        EXPECT_EQ(button->getImageChild()->getImage(), image.get());
        EXPECT_EQ(shownStar(), star(2)) << current;
    }
}

TEST_F(MapLocationButtonTest, TheLevelIndexIsSavedUnlessMinusOneAndReloadedAsStored) {
    struct Case {
        int32_t stored;
        bool saved;
    };
    for (const Case c : {Case{-1, false}, Case{7, true}, Case{0, true}}) {
        button->setAssociatedLevelIndex(c.stored);
        const CRefPointer<CProperties> properties(new CProperties());
        button->saveProperties(*properties);
        const int32_t index = properties->indexOf("AssociatedLevelIndex");
        EXPECT_EQ(index >= 0, c.saved) << c.stored;
        const CRefPointer<GMapLocationButton> loaded = makeButton();
        loaded->setAssociatedLevelIndex(5);
        loaded->loadProperties(*properties);
        EXPECT_EQ(loaded->getAssociatedLevelIndex(), c.saved ? c.stored : 5)
            << "an absent value leaves the index";
    }
    const CRefPointer<CProperties> wrongType(new CProperties());
    wrongType->addFloat("AssociatedLevelIndex", 3.f);
    button->loadProperties(*wrongType);
    EXPECT_EQ(button->getAssociatedLevelIndex(), 0) << "a value of another type stores 0";
}

TEST_F(MapLocationButtonTest, ACopyHasTheLevelIndexTheGradeAndAStarOfItsOwn) {
    button->setAssociatedLevelIndex(12);
    button->setStarType(1);
    const CRefPointer<BaseNode> copy = button->clone(nullptr, &manager());
    ASSERT_TRUE(copy && copy->isKindOf(GMapLocationButton::kTypeId));
    auto& twin = static_cast<GMapLocationButton&>(*copy);
    EXPECT_EQ(twin.getAssociatedLevelIndex(), 12);
    EXPECT_EQ(twin.getStarType(), 1);
    ASSERT_NE(twin.getStarNode(), nullptr);
    EXPECT_NE(twin.getStarNode(), button->getStarNode());
    twin.setEnabled(false);
    EXPECT_FALSE(twin.getStarNode()->isVisible());
    EXPECT_TRUE(button->getStarNode()->isVisible());
}

} // namespace
