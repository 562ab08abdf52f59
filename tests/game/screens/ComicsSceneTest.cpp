#include "game/screens/ComicsScene.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/game/screens/ScreenFixture.h"

namespace {

// Comics opened over the main menu, as the menu opens the first one over the map: small comics
// of the test's own, whose nodes fade in 100 ms (text boxes in 60 ms), and the shipped first
// comic.
class ComicsSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        CProfileManager& profiles = game.profiles();
        profiles.addProfile(u"Anna");
        profiles.setActiveProfile(0);
        player().setInt("LevelIndex", 5);
        openMenu();
    }

    CProfileParameters& player() { return *game.profiles().getActiveProfile(); }

    static std::string fade(const char* state, int ms) {
        std::ostringstream xml;
        xml << "<State Name=\"" << state << "\"><Animator Type=\"KeyFrame\"><Properties>"
            << "<color Name=\"TintColor\" Value=\"00ffffff\"/></Properties>"
            << "<KeyFrame t=\"0\" Value0=\"00ffffff\"/><KeyFrame t=\"" << ms
            << "\" i=\"0\" Value0=\"ffffffff\"/></Animator></State>";
        return xml.str();
    }
    static std::string node(const std::string& type, const std::string& name,
                            const std::string& inside) {
        return "<SceneNode Type=\"" + type + "\"><Properties><string Name=\"Name\" Value=\"" +
               name + "\"/></Properties>" + inside + "</SceneNode>";
    }
    // Each part is the names of its text boxes, blank-separated; "-" is a part without "Bg".
    // A part has a second child beside "Bg", so that it waits for both.
    static std::string comicXml(const std::vector<std::string>& parts, bool darkBg = true) {
        const std::string partStates = "<States>" + fade("OnAppear", 100) +
                                       fade("OnDisappear", 100) + fade("Unhide", 100) + "</States>";
        std::string partNodes;
        for (size_t i = 0; i < parts.size(); ++i) {
            std::string children = node("BaseNode", "Frame", partStates);
            if (parts[i] != "-") {
                std::string boxes;
                std::istringstream kinds(parts[i]);
                for (std::string kind; kinds >> kind;) {
                    boxes += node("BaseNode", kind,
                                  "<States>" + fade("OnAppear", 60) + fade("OnDisappear", 60) +
                                      "</States>");
                }
                children += node("BaseNode", "Bg", partStates + boxes);
            }
            partNodes += node("BaseNode", "Part" + std::to_string(i + 1), children);
        }
        const std::string dark =
            darkBg
                ? node("BaseNode", "DarkBg",
                       "<States>" + fade("OnAppear", 100) + fade("OnDisappear", 100) + "</States>")
                : "";
        const std::string scene = node("ControlNode", "Scene",
                                       dark + node("BaseNode", "Parts", partNodes) +
                                           node("ControlNode", "ReplayButton",
                                                "<States>" + fade("OnAppear", 60) + "</States>") +
                                           node("ControlNode", "NextButton", ""));
        return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GComicsScene\"><Properties>"
               "<string Name=\"Name\" Value=\"ComicsScene\"/></Properties>" +
               scene + "</SceneNode>";
    }
    // Opened over the menu; the comic has arrived and its first part starts to come in.
    void openComic(const std::vector<std::string>& parts, bool darkBg = true) {
        write("scenes/TestComic.qscn", comicXml(parts, darkBg));
        openComicFile(u"scenes/TestComic.qscn");
    }
    void openComicFile(const char16_t* file) {
        current()->openSceneFile(file, false, name("NavFrom"), name("NavTo"));
        ASSERT_EQ(current()->getTypeName(), CStringW(u"GComicsScene"));
        for (int ms = 0; ms < 1000 && !arrived(); ms += 20)
            game.advance(20);
        ASSERT_TRUE(arrived());
    }
    bool arrived() const {
        const BaseNode* first = part(1);
        const BaseNode* replay = find("Scene/ReplayButton");
        return (first != nullptr && first->isVisible()) ||
               (replay != nullptr && replay->isVisible());
    }

    BaseNode* part(int number) const {
        return find(("Scene/Parts/Part" + std::to_string(number)).c_str());
    }
    // The part's text boxes in order, each "Name:state" when visible, "-" when hidden.
    std::string boxes(int number) const {
        BaseNode* bg = findIn(part(number), "Bg");
        std::string shown;
        for (uint32_t i = 0; bg != nullptr && i < bg->getChildCount(); ++i) {
            const BaseNode* box = bg->getChild(i);
            shown += (shown.empty() ? "" : " ") +
                     (box->isVisible()
                          ? std::string(box->getName().toString().c_str()) + ":" + stateOf(box)
                          : "-");
        }
        return shown;
    }
    std::string frameState(int number) const { return stateOf(findIn(part(number), "Frame")); }

    // A control of the comic reports a click, as the page does when clicked.
    void press(const char* control = "Page") {
        BaseNode* existing = find((std::string("Scene/") + control).c_str());
        CRefPointer<ControlNode> made;
        if (existing == nullptr) {
            made = CRefPointer<ControlNode>(new ControlNode(CContentKey(), find("Scene"), nullptr));
            made->setName(name(control));
            existing = made.get();
        }
        existing->postEvent(existing, CEventReceiver::RouteSelfThenParents,
                            *CRefPointer<CEvent>(new CEventControlClicked(existing)));
        game.advance(20);
        if (made)
            made->setParent(nullptr);
    }
};

// The first box waits for a click, the second too; clicks while a part comes in or goes out
// count for nothing.
TEST_F(ComicsSceneTest, PartsComeInAndTheirBoxesAdvanceByClicks) {
    openComic({"TextBg TextBg", "TextBg"});
    EXPECT_TRUE(part(1)->isVisible());
    EXPECT_FALSE(part(2)->isVisible());
    EXPECT_EQ(frameState(1), "OnAppear");
    EXPECT_EQ(boxes(1), "- -");
    press();
    game.advance(120);
    EXPECT_EQ(boxes(1), "TextBg:OnAppear -") << "the click while it came in is ignored";

    press();
    EXPECT_EQ(boxes(1), "TextBg:OnDisappear TextBg:OnAppear");
    press();
    EXPECT_EQ(boxes(1), "- -") << "the part goes out";
    EXPECT_EQ(frameState(1), "OnDisappear");
    press();
    game.advance(100);
    EXPECT_TRUE(part(2)->isVisible());
    EXPECT_EQ(frameState(2), "OnAppear");
    game.advance(120);
    EXPECT_EQ(boxes(2), "TextBg:OnAppear") << "the click while it went out is ignored";
}

TEST_F(ComicsSceneTest, BoxKindsShowWaitAndStayAsTheirNamesSay) {
    struct Case {
        std::vector<std::string> parts;
        const char* whileComingIn; // the first part's boxes
        const char* settledFirst;
        const char* settledSecond; // none while the second part has not come in
    };
    const Case cases[] = {
        // Shown while its part comes in; the first advance takes it away.
        {{"TextBgShowAtStart TextBg", "TextBg"},
         "TextBgShowAtStart: -",
         "TextBgShowAtStart:OnDisappear TextBg:OnAppear",
         nullptr},
        // Makes way for the next box by itself; then the part waits.
        {{"TextBgNoWait TextBg", "TextBg"},
         "- -",
         "TextBgNoWait:OnDisappear TextBg:OnAppear",
         nullptr},
        // Goes on by itself, ends its part and stays when the part has gone.
        {{"TextBgNoDisappear", "TextBg"}, "-", "TextBgNoDisappear:OnAppear", "TextBg:OnAppear"},
        // A part without a picture comes in and goes out by itself.
        {{"-", "TextBg"}, "", "", "TextBg:OnAppear"},
    };
    for (const Case& c : cases) {
        openComic(c.parts);
        const std::string label = c.parts[0];
        EXPECT_EQ(boxes(1), c.whileComingIn) << label;
        game.advance(600);
        EXPECT_EQ(boxes(1), c.settledFirst) << label;
        EXPECT_EQ(part(2)->isVisible(), c.settledSecond != nullptr) << label;
        if (c.settledSecond != nullptr) {
            EXPECT_EQ(boxes(2), c.settledSecond) << label;
        }
        current()->navigateBack(0, CNameId(), CNameId());
        settle();
    }
}

// The dark background comes up when the first part goes, stays through the middle one and
// leaves with the last, which brings the parts before it back; then Replay shows.
TEST_F(ComicsSceneTest, TheDarkBackgroundFramesTheMiddleAndTheEndBringsThePartsBack) {
    openComic({"TextBg", "TextBg", "TextBg"});
    BaseNode* dark = find("Scene/DarkBg");
    BaseNode* replay = find("Scene/ReplayButton");
    EXPECT_FALSE(replay->isVisible());
    game.advance(200);
    EXPECT_EQ(stateOf(dark), "");
    press();
    EXPECT_EQ(stateOf(dark), "OnAppear");
    game.advance(300);
    press();
    game.advance(300);
    EXPECT_EQ(stateOf(dark), "OnAppear") << "the middle part leaves it";
    EXPECT_EQ(frameState(1), "OnDisappear");
    press();
    EXPECT_EQ(stateOf(dark), "OnDisappear");
    EXPECT_EQ(frameState(1), "Unhide");
    EXPECT_EQ(frameState(2), "Unhide");
    EXPECT_EQ(frameState(3), "OnDisappear");
    EXPECT_FALSE(replay->isVisible());
    game.advance(200);
    EXPECT_TRUE(replay->isVisible());
    EXPECT_EQ(stateOf(replay), "OnAppear");
    EXPECT_EQ(currentName(), "ComicsScene") << "the comic stays at its end";

    // Replay hides everything and starts again from the first part, with its sound.
    game.engine().getSoundPlayer()->stopGroup(-1);
    game.advance(20);
    press("ReplayButton");
    EXPECT_TRUE(game.engine().getSoundPlayer()->isCuePlaying(name("ComicsText")));
    EXPECT_FALSE(replay->isVisible());
    EXPECT_TRUE(part(1)->isVisible());
    EXPECT_FALSE(part(2)->isVisible());
    EXPECT_FALSE(part(3)->isVisible());
    EXPECT_EQ(frameState(1), "OnAppear");
    game.advance(200);
    EXPECT_EQ(boxes(1), "TextBg:OnAppear");
}

// Without the dark background nothing darkens; a comic without parts ends at once.
TEST_F(ComicsSceneTest, MissingNodesOnlySwitchOffWhatUsesThem) {
    openComic({"TextBg", "TextBg"}, false);
    game.advance(200);
    press();
    game.advance(300);
    press();
    game.advance(300);
    EXPECT_EQ(frameState(1), "OnDisappear") << "no darkening, so nothing comes back";
    EXPECT_TRUE(find("Scene/ReplayButton")->isVisible());
    current()->navigateBack(0, CNameId(), CNameId());
    settle();

    write("scenes/Empty.qscn", "<SceneNode Type=\"SceneNode\" ClassOverride=\"GComicsScene\">"
                               "<SceneNode Type=\"ControlNode\"><Properties><string "
                               "Name=\"Name\" Value=\"Scene\"/></Properties>" +
                                   node("ControlNode", "ReplayButton", "") +
                                   "</SceneNode></SceneNode>");
    openComicFile(u"scenes/Empty.qscn");
    EXPECT_TRUE(find("Scene/ReplayButton")->isVisible()) << "no parts: at the end at once";
}

// Next leads a player who has unlocked nothing into the first level through the loading
// screen (here a plain scene in its place, which loads nothing); others go back.
TEST_F(ComicsSceneTest, NextStartsTheFirstLevelOrGoesBack) {
    struct Case {
        int32_t maxUnlocked;
        const char* shown;
        int32_t levelIndex;
    };
    const Case cases[] = {
        {0, "LoadingLevelScene", 1},
        {3, "MainMenuScene", 5},
    };
    write("scenes/LoadingLevelScene.qscn",
          "<SceneNode Type=\"SceneNode\"><Properties><string Name=\"Name\" "
          "Value=\"LoadingLevelScene\"/></Properties></SceneNode>");
    for (const Case& c : cases) {
        player().setInt("MaxUnlockedLevelIndex", c.maxUnlocked);
        player().setInt("LevelIndex", 5);
        openComic({"TextBg"});
        press("NextButton");
        settle();
        EXPECT_EQ(currentName(), c.shown) << c.maxUnlocked;
        EXPECT_EQ(player().getInt("LevelIndex"), c.levelIndex) << c.maxUnlocked;
        while (currentName() != "MainMenuScene") {
            current()->navigateBack(0, CNameId(), CNameId());
            settle();
        }
    }
}

TEST_F(ComicsSceneTest, EscapeGoesBack) {
    openComic({"TextBg"});
    typeKey(kKeyEnter);
    EXPECT_EQ(currentName(), "ComicsScene");
    typeKey(kKeyEscape);
    EXPECT_EQ(currentName(), "MainMenuScene");
}

// The shipped first comic, read with the mouse: five clicks on the page take it to its end,
// and Next, for a player who has unlocked nothing, opens the first level's loading screen.
TEST_F(ComicsSceneTest, TheFirstComicIsReadWithClicks) {
    openComicFile(u"scenes/ComicsScene1.qscn");
    EXPECT_TRUE(game.engine().getSoundPlayer()->isCuePlaying(name("ComicsMusic")));
    EXPECT_EQ(boxes(1), "TextBgShowAtStart: -");
    settle();
    EXPECT_EQ(boxes(1), "TextBgShowAtStart:OnDisappear TextBg:OnAppear");
    BaseNode* replay = find("Scene/ReplayButton");
    int clicks = 0;
    for (; clicks < 10 && !replay->isVisible(); ++clicks) {
        clickAt(*find("Scene/Page"), 0.5f, 0.97f);
        game.advance(1000);
    }
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(boxes(3), "- TextBgNoDisappear:OnAppear") << "kept after its part went";
    EXPECT_EQ(stateOf(find("Scene/DarkBg")), "OnDisappear");
    click(find("Scene/NextButton"));
    EXPECT_EQ(player().getInt("LevelIndex"), 1);
    EXPECT_EQ(currentName(), "LoadingLevelScene");
}

} // namespace
