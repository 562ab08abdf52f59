#include "engine/ui/TabSceneNode.h"

#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "engine/scene/NodeState.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// "Tabs.qscn": Tab2 active, every tab's page taking 100 ms for each transition; the buttons of
// Tab1 at (0, 0) and Tab3 at (200, 0), each tab's "Go" button at (0, 100).
class TabSceneNodeTest : public ControlSceneTest {
protected:
    TabSceneNodeTest() {
        load(u"Tabs.qscn");
        tabs = static_cast<TabSceneNode*>(scene.get());
        for (const char* name : {"Tab1", "Tab2", "Tab3"})
            switches.push_back({name, record(tab(name), {46, 47, 48})});
        show();
    }

    BaseNode& tab(const char* name) { return find<BaseNode>(name); }
    // What each tab was told, as "<tab> <event>".
    std::vector<std::string> switchEvents() {
        std::vector<std::string> seen;
        for (const auto& [name, recorder] : switches) {
            for (const std::string& line : recorder->take())
                seen.push_back(name + " " + line);
        }
        return seen;
    }
    // Whether a click reached a control of the tabs; the scene itself may take it.
    bool clickReachedControls() {
        for (const std::string& line : events->take()) {
            if (line.rfind(":", 0) != 0)
                return true;
        }
        return false;
    }
    std::vector<bool> visibility() {
        return {tab("Tab1").isVisible(), tab("Tab2").isVisible(), tab("Tab3").isVisible()};
    }
    std::string pageState(const char* name) {
        const NodeState* state = tab(name).findChild(nameId("Page"), 1)->getCurrentState();
        return state ? state->getName().toString().c_str() : "";
    }
    // Waits for the switch of the first activation.
    void settle() {
        tick(100);
        switchEvents();
    }

    TabSceneNode* tabs = nullptr;
    std::vector<std::pair<std::string, CRefPointer<EventRecorder>>> switches;
};

TEST_F(TabSceneNodeTest, TheFirstActivationShowsTheActiveTabAndPlaysDefaultOnEveryTab) {
    EXPECT_EQ(visibility(), (std::vector<bool>{false, true, false}));
    for (const char* name : {"Tab1", "Tab2", "Tab3"})
        EXPECT_EQ(pageState(name), "Default") << name;
    EXPECT_EQ(switchEvents(), (std::vector<std::string>{"Tab2 -:46>Tab2", "Tab2 -:48>Tab2"}));
    EXPECT_TRUE(tabs->isSwitching());
    click(50, 115);
    EXPECT_FALSE(clickReachedControls()) << "no input while the tabs switch";
    tick(100);
    EXPECT_EQ(switchEvents(), std::vector<std::string>{"Tab2 -:47>Tab2"});
    EXPECT_FALSE(tabs->isSwitching());
    click(50, 115);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Go2:62"}) << "the active tab's button";
}

TEST_F(TabSceneNodeTest, ATabsButtonSwitchesWithTheStateNamedAfterBothTabs) {
    settle();
    click(250, 15);
    tick(100); // the button's press
    EXPECT_EQ(tabs->getActiveTabIndex(), 2);
    EXPECT_EQ(switchEvents(), (std::vector<std::string>{"Tab2 Tab2:46>Tab3", "Tab2 Tab2:48>Tab3",
                                                        "Tab3 Tab2:46>Tab3", "Tab3 Tab2:48>Tab3"}));
    EXPECT_EQ(pageState("Tab2"), "2To3");
    EXPECT_EQ(pageState("Tab3"), "2To3");
    EXPECT_EQ(visibility(), (std::vector<bool>{false, true, true})) << "the old tab stays";
    events->take();
    click(50, 15);
    tick(50);
    EXPECT_FALSE(clickReachedControls()) << "the tab buttons take no input meanwhile";
    tick(50);
    EXPECT_EQ(visibility(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(switchEvents(), (std::vector<std::string>{"Tab2 Tab2:47>Tab3", "Tab3 Tab2:47>Tab3"}));

    click(250, 15);
    tick(100);
    EXPECT_TRUE(switchEvents().empty()) << "the active tab's button changes nothing";
    EXPECT_FALSE(tabs->isSwitching());
}

TEST_F(TabSceneNodeTest, OnlyTheActiveTabTakesInputEvenWhenAnotherIsShown) {
    settle();
    tab("Tab3").setVisible(true);
    click(50, 115);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Go2:62"}) << "Tab3 comes later, on top";
}

TEST_F(TabSceneNodeTest, ASwitchStartedDuringAnotherHidesTheTabThatWasLeaving) {
    settle();
    tabs->setActiveTab(2, false);
    tick(50);
    EXPECT_EQ(visibility(), (std::vector<bool>{false, true, true}));
    switchEvents();
    tabs->setActiveTab(0, false);
    EXPECT_EQ(visibility(), (std::vector<bool>{true, false, true})) << "Tab2's switch is over";
    drain();
    switchEvents();
    tick(100);
    EXPECT_EQ(visibility(), (std::vector<bool>{true, false, false}));
    EXPECT_FALSE(tabs->isSwitching());
    EXPECT_EQ(switchEvents(), (std::vector<std::string>{"Tab1 Tab3:47>Tab1", "Tab3 Tab3:47>Tab1"}));
}

TEST_F(TabSceneNodeTest, HiddenButtonsFollowTheActiveTab) {
    settle();
    tabs->setHideTabButtonOnSelect(true);
    tabs->setActiveTab(2, false);
    EXPECT_FALSE(find<BaseNode>("Tab3Button").isVisible());
    tick(100);
    click(50, 15);
    tick(100);
    EXPECT_EQ(tabs->getActiveTabIndex(), 0);
    EXPECT_EQ(pageState("Tab1"), "3To1");
    EXPECT_FALSE(find<BaseNode>("Tab1Button").isVisible());
    EXPECT_TRUE(find<BaseNode>("Tab3Button").isVisible());
}

TEST_F(TabSceneNodeTest, ATabWithoutAButtonIsReachedThroughItsIndex) {
    settle();
    tabs->setActiveTab(0, false);
    tick(100);
    EXPECT_EQ(tabs->getTabButton(1), nullptr);
    tabs->setPropertyByIndex(tabs->findProperty("ActiveTabIndex"), makeIntProperty(1));
    EXPECT_EQ(tabs->getActiveTabIndex(), 1);
    EXPECT_TRUE(tab("Tab2").isVisible());
}

TEST_F(TabSceneNodeTest, ChangingTheTabsCountCollectsTheTabsAgain) {
    settle();
    tabs->setTabsCount(2);
    EXPECT_EQ(tabs->getTab(2), nullptr);
    EXPECT_EQ(tabs->getTabButton(0), &find<BaseNode>("Tab1Button"));
    tabs->setActiveTab(2, false);
    EXPECT_EQ(tabs->getActiveTabIndex(), 1) << "no third tab to switch to";
    tabs->setTabsCount(0);
    tabs->setActiveTab(0, true);
    RenderList list;
    tabs->collectDrawables(list);
    click(50, 115);
    EXPECT_EQ(tabs->getActiveTabIndex(), 1);
    tabs->setTabsCount(3);
    EXPECT_EQ(tabs->getTab(2), &tab("Tab3"));
}

} // namespace
