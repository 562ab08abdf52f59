#include "game/screens/CreditsScene.h"

#include <gtest/gtest.h>

#include "tests/game/screens/ScreenFixture.h"

namespace {

// The credits opened from the main menu with the mouse.
class CreditsSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        game.profiles().addProfile(u"Anna");
        game.profiles().setActiveProfile(0);
        menu = openMenu();
    }

    void openCredits() {
        click(findIn(menu, "Scene/Menu/CreditsButton"));
        ASSERT_EQ(currentName(), "CreditsScene");
    }

    SceneNode* menu = nullptr;
};

// Back, Escape and Enter return to the menu, which slides its panel back in.
TEST_F(CreditsSceneTest, BackEscapeAndEnterReturnToTheMenu) {
    const uint32_t keys[] = {0, kKeyEscape, kKeyEnter};
    for (uint32_t key : keys) {
        openCredits();
        if (key == 0)
            click(find("Scene/BackButton"));
        else
            typeKey(key);
        EXPECT_EQ(current(), menu) << key;
        EXPECT_EQ(stateOf(findIn(menu, "Scene")), "NavBackToSlide") << key;
    }
}

TEST_F(CreditsSceneTest, OtherButtonsAndKeysDoNothing) {
    openCredits();
    CRefPointer<ControlNode> other(new ControlNode(CContentKey(), find("Scene"), nullptr));
    other->setName(name("OtherButton"));
    other->postEvent(other.get(), CEventReceiver::RouteSelfThenParents,
                     *CRefPointer<CEvent>(new CEventControlClicked(other.get())));
    settle();
    other->setParent(nullptr);
    typeKey('A');
    EXPECT_EQ(currentName(), "CreditsScene");
}

} // namespace
