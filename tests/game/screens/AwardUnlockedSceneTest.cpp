#include "game/screens/AwardUnlockedScene.h"

#include <gtest/gtest.h>

#include "engine/scene/TextNode.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// The award pop-up given its award and opened, as the level's screen opens it over itself;
// here over a screen whose transitions show how it was returned to.
class AwardUnlockedSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        game.profiles().addProfile(u"Anna");
        game.profiles().setActiveProfile(0);
        write("scenes/Under.qscn",
              "<SceneNode Type=\"SceneNode\"><Properties><string Name=\"Name\" Value=\"Under\"/>"
              "</Properties><SceneNode Type=\"ControlNode\"><Properties><string Name=\"Name\" "
              "Value=\"Scene\"/></Properties><States><State Name=\"NavBackTo\"/><State "
              "Name=\"NavBackToSlide\"/></States></SceneNode></SceneNode>");
        openMenu();
        under = open(u"scenes/Under.qscn");
    }

    // Loaded, given the award and opened.
    void openPopUp(int32_t award) {
        const CRefPointer<CContent> loaded =
            content().load(contentType("snod"), u"scenes/NewAwardScene.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        ASSERT_TRUE(node && node->isKindOf(GAwardUnlockedScene::kTypeId));
        auto* popUp = static_cast<GAwardUnlockedScene*>(node);
        popUp->setAward(award);
        under->openScene(popUp, true, name("NavFrom"), name("NavTo"));
        settle();
        ASSERT_EQ(currentName(), "NewAwardScene");
    }
    std::u16string text() const { return findAs<TextNode>("Scene/AwardDesc")->getText().c_str(); }
    std::string look() const { return stateOf(find("Scene/AwardPlace")); }

    SceneNode* under = nullptr;
};

TEST_F(AwardUnlockedSceneTest, ItShowsTheAwardItIsGiven) {
    struct Case {
        int32_t award;
        const char16_t* text;
        const char* look;
    };
    const Case cases[] = {
        {16, u"%AwardAfter_17%", "Award_17"},
        {0, u"%AwardAfter_1%", "Award_1"},
        {17, u"", ""},
        {-1, u"", ""},
    };
    for (const Case& c : cases) {
        openPopUp(c.award);
        EXPECT_EQ(text(), c.text) << c.award;
        EXPECT_EQ(look(), c.look) << c.award;
        current()->navigateBack(0, CNameId(), CNameId());
        settle();
    }
}

// Only its button closes it, with the usual transitions; the keys that close the gallery do
// not.
TEST_F(AwardUnlockedSceneTest, OnlyItsButtonClosesIt) {
    openPopUp(4);
    typeKey(kKeyEnter);
    typeKey(kKeyEscape);
    EXPECT_EQ(currentName(), "NewAwardScene");
    const CRefPointer<SceneNode> popUp = CRefPointer<SceneNode>::share(current());
    click(find("Scene/BackButton"));
    EXPECT_EQ(current(), under);
    EXPECT_EQ(stateOf(findIn(popUp.get(), "Scene")), "NavBackFrom");
    EXPECT_EQ(stateOf(findIn(under, "Scene")), "NavBackTo");
}

} // namespace
