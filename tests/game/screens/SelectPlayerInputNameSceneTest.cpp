#include "game/screens/SelectPlayerInputNameScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/EditNode.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

constexpr uint32_t kVirtualBackspace = 8;

// The name entry over player selection over the menu, with "Ann" (Hard) as the only player.
class SelectPlayerInputNameSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        addPlayer(u"Ann", 0);
        game.profiles().setActiveProfile(0);
    }

    void openNameEntry() {
        openMenu();
        click("Scene/Menu/ChangePlayerButton");
        click("Scene/NewPlayerButton");
        ASSERT_EQ(currentName(), "SelectPlayerInputNameScene");
    }

    bool okEnabled() const { return findAs<ControlNode>("Scene/OkButton")->isEnabled(); }
    bool checked(const char* box) const { return findAs<CheckBoxNode>(box)->isChecked(); }
    std::string typed() const {
        return CString(findAs<EditNode>("Scene/NameEdit")->getText().c_str()).c_str();
    }
};

// Names compare as they are written: another capitalisation is another name.
TEST_F(SelectPlayerInputNameSceneTest, OkWaitsForANameNoPlayerHas) {
    openNameEntry();
    EXPECT_FALSE(okEnabled());
    struct Step {
        const char16_t* keys;
        const char* name;
        bool ok;
    };
    const Step steps[] = {
        {u"An", "An", true}, {u"n", "Ann", false},   {u"\b", "An", true},
        {u"N", "AnN", true}, {u"\b\b\b", "", false},
    };
    for (const Step& step : steps) {
        for (const char16_t* key = step.keys; *key != 0; ++key) {
            if (*key == u'\b')
                game.typeKey(kVirtualBackspace, u'\b');
            else
                type(std::u16string(1, *key));
        }
        game.advance(40);
        EXPECT_EQ(typed(), step.name);
        EXPECT_EQ(okEnabled(), step.ok) << step.name;
    }
}

TEST_F(SelectPlayerInputNameSceneTest, HardAndEasyBehaveAsAPairOfRadioButtons) {
    openNameEntry();
    EXPECT_TRUE(checked("Scene/HardButton")) << "the default player is Hard";
    EXPECT_FALSE(checked("Scene/EasyButton"));
    struct Step {
        const char* box;
        bool hard;
    };
    for (const Step& step : {Step{"Scene/HardButton", true}, Step{"Scene/EasyButton", false},
                             Step{"Scene/EasyButton", false}, Step{"Scene/HardButton", true}}) {
        click(step.box);
        EXPECT_EQ(checked("Scene/HardButton"), step.hard) << step.box;
        EXPECT_EQ(checked("Scene/EasyButton"), !step.hard) << step.box;
    }
}

TEST_F(SelectPlayerInputNameSceneTest, TheBoxesStartAtTheDefaultDifficulty) {
    game.profiles().getPlayerDefaults()->setInt("PlayerDifficulty", 1);
    openNameEntry();
    EXPECT_FALSE(checked("Scene/HardButton"));
    EXPECT_TRUE(checked("Scene/EasyButton"));
}

// The new player is stored with the profiles but waits for player selection to be confirmed.
TEST_F(SelectPlayerInputNameSceneTest, EnterCreatesThePlayerWithTheChosenDifficulty) {
    struct Case {
        const char* box;
        int32_t difficulty;
    };
    for (const Case& c : {Case{"Scene/EasyButton", 1}, Case{"Scene/HardButton", 0}}) {
        openNameEntry();
        const std::u16string name = c.difficulty == 1 ? u"Bea" : u"Cid";
        type(name);
        click(c.box);
        typeKey(kKeyEnter);
        EXPECT_EQ(currentName(), "SelectPlayerScene");
        const CRefPointer<CProfileManager> stored = storedProfiles();
        const CProfileParameters* player = stored->findProfile(name.c_str());
        ASSERT_NE(player, nullptr) << c.box;
        EXPECT_EQ(player->getInt("PlayerDifficulty"), c.difficulty);
        EXPECT_EQ(stored->getActiveProfile()->getName(), CStringW(u"Ann"));
    }
}

TEST_F(SelectPlayerInputNameSceneTest, EscAndCancelCreateNothing) {
    for (bool escape : {true, false}) {
        openNameEntry();
        type(u"Bea");
        if (escape)
            typeKey(kKeyEscape);
        else
            click("Scene/CancelButton");
        EXPECT_EQ(currentName(), "SelectPlayerScene");
        EXPECT_EQ(game.profiles().getProfileCount(), 1);
    }
}

// The edit reports its text at the next update, so Enter can come while OK still shows the
// name before the last key: a name taken by then must leave the other player as they were.
TEST_F(SelectPlayerInputNameSceneTest, ANameTakenByTheTimeOfEnterIsRefused) {
    openNameEntry();
    click("Scene/EasyButton");
    click("Scene/NameEdit");
    type(u"Anna");
    game.advance(40);
    ASSERT_TRUE(okEnabled());
    game.typeKey(kVirtualBackspace, u'\b');
    game.typeKey(kKeyEnter, u'\r');
    game.runMessages();
    settle();
    EXPECT_EQ(currentName(), "SelectPlayerInputNameScene");
    EXPECT_EQ(game.profiles().getProfileCount(), 1);
    EXPECT_EQ(storedProfiles()->findProfile(u"Ann")->getInt("PlayerDifficulty"), 0);
    EXPECT_FALSE(okEnabled());
}

} // namespace
