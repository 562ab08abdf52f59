#include "game/app/BaseSceneNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/audio/SoundCue.h"
#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "scene/SceneTestNodes.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/app/ScreenInput.h"

namespace {

// A control of the button's kind.
class TestButton : public NodeClass<TestButton, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 9;
    static constexpr const char16_t* kTypeName = u"TestButton";

    using NodeClass::NodeClass;
};

// An event of an id whose class belongs to the controls: a node event of that id.
template <uint32_t Id>
class ControlEventOf : public CEventType<Id, CEventNode> {
public:
    using CEventType<Id, CEventNode>::CEventType;
};

// Counts its ticks and names every hook it is called for; the base hooks still run, unless it
// is told to keep hovering to itself.
class RecordingScene : public NodeClass<RecordingScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 991;
    static constexpr const char16_t* kTypeName = u"RecordingScene";

    using NodeClass::NodeClass;

    bool OnUpdate(uint32_t elapsedMs) override {
        ++ticks;
        return GBaseSceneNode::OnUpdate(elapsedMs);
    }
    bool OnWindowFocus(CEventSystemFlowActivate& e) override {
        return note("WindowFocus", GBaseSceneNode::OnWindowFocus(e));
    }
    bool OnApplicationClose(CEventSystemFlowDestroy& e) override {
        return note("ApplicationClose", GBaseSceneNode::OnApplicationClose(e));
    }
    bool OnMessageBoxResult(CEventMessageBoxResult& e) override {
        return note("MessageBoxResult", GBaseSceneNode::OnMessageBoxResult(e));
    }
    bool OnSceneSwitch(CEventSceneSwitchStarted& e) override {
        return note("SceneSwitch", GBaseSceneNode::OnSceneSwitch(e));
    }
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& e) override {
        return note("SceneSwitchDone", GBaseSceneNode::OnSceneSwitchDone(e));
    }
    bool OnTabEvent48(CEvent& e) override { return note("Tab48", GBaseSceneNode::OnTabEvent48(e)); }
    bool OnTabEvent47(CEvent& e) override { return note("Tab47", GBaseSceneNode::OnTabEvent47(e)); }
    bool OnControlEvent62(CEventControlClickStarted& e) override {
        return note("Control62", GBaseSceneNode::OnControlEvent62(e));
    }
    bool OnButtonPressed(CEventControlClicked& e) override {
        return note("ButtonPressed", GBaseSceneNode::OnButtonPressed(e));
    }
    bool OnNodeHovered(CEventControlHovered& e) override {
        if (keepsHovering)
            return note("NodeHovered", true);
        return note("NodeHovered", GBaseSceneNode::OnNodeHovered(e));
    }
    bool OnNodeUnhovered(CEventControlUnhovered& e) override {
        return note("NodeUnhovered", GBaseSceneNode::OnNodeUnhovered(e));
    }
    bool OnControlEvent58(CEventControlFocused& e) override {
        return note("Control58", GBaseSceneNode::OnControlEvent58(e));
    }
    bool OnControlEvent60(CEventControlUnfocused& e) override {
        return note("Control60", GBaseSceneNode::OnControlEvent60(e));
    }
    bool OnValueChanged(CEventNode& e) override {
        return note("ValueChanged", GBaseSceneNode::OnValueChanged(e));
    }
    bool OnListItemPressed(CEventNode& e) override {
        return note("ListItemPressed", GBaseSceneNode::OnListItemPressed(e));
    }
    bool OnListItemHovered(CEventNode& e) override {
        return note("ListItemHovered", GBaseSceneNode::OnListItemHovered(e));
    }

    int ticks = 0;
    bool keepsHovering = false;
    std::vector<std::string> hooks;

private:
    bool note(const char* hook, bool handled) {
        hooks.push_back(hook);
        return handled;
    }
};

class BaseSceneNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.start());
        const CRefPointer<CContent> pack =
            content().load(SoundPack::kContentType, u"sounds/SoundPack.xml", true);
        ASSERT_TRUE(pack);
        static_cast<SoundPack*>(pack.get())->addCuesTo(sound());
    }

    CContentManager& content() const { return *game.application().getContentManager(); }
    SceneManager& manager() const { return *game.application().getSceneManager(); }
    CSoundPlayer& sound() const { return *game.engine().getSoundPlayer(); }

    // A full-screen scene with a button and a plain control, side by side.
    CRefPointer<RecordingScene> makeScene(const char16_t* name) {
        CRefPointer<RecordingScene> scene(
            new RecordingScene(CContentKey(&content(), CStringW(name)), nullptr, nullptr));
        scene->setBounds({1024, 768, 0});
        button = addControl<TestButton>(*scene, "Button", 100);
        plain = addControl<ControlNode>(*scene, "Plain", 500);
        return scene;
    }

    template <typename Control>
    CRefPointer<Control> addControl(BaseNode& scene, const char* name, float x) {
        CRefPointer<Control> control(new Control(CContentKey(), &scene, nullptr));
        control->setName(nameId(name));
        control->setPosition({x, 300, 0});
        makeNode<HittingNode>("area", control.get())->setBounds({200, 100, 0});
        return control;
    }

    // Playing instances of the cue.
    int playing(const char* cue) const {
        int count = 0;
        for (const CRefPointer<SoundCue>& instance : sound().getPlayingInstances())
            count += instance->getName() == nameId(cue) && instance->getState() == 2;
        return count;
    }

    GameHarness game;
    CRefPointer<TestButton> button;
    CRefPointer<ControlNode> plain;
};

TEST_F(BaseSceneNodeTest, TheTickFollowsTheSceneInAndOut) {
    const CRefPointer<RecordingScene> a = makeScene(u"A");
    const CRefPointer<RecordingScene> b = makeScene(u"B");
    game.advance(200);
    EXPECT_EQ(a->ticks, 0) << "never switched to";

    manager().openScene(a.get(), CNameId());
    game.advance(20); // the arrival's end is delivered; the clock starts counting
    EXPECT_EQ(a->ticks, 0);
    game.advance(280);
    EXPECT_EQ(a->getShownTime(), 280u) << "ticks of 40 ms on 20 ms frames";

    a->openScene(b.get(), false, CNameId(), CNameId());
    const int ticksWhenLeft = a->ticks;
    game.advance(300);
    EXPECT_EQ(a->ticks, ticksWhenLeft) << "the tick stops as the switch starts";
    EXPECT_GT(b->ticks, 0);

    b->navigateBack(0, CNameId(), CNameId());
    game.advance(20);
    EXPECT_EQ(a->getShownTime(), 0u) << "counting again from its new arrival";
    game.advance(80);
    EXPECT_EQ(a->getShownTime(), 80u);
    EXPECT_GT(a->ticks, ticksWhenLeft);
}

TEST_F(BaseSceneNodeTest, EachEventReachesItsHook) {
    const CRefPointer<RecordingScene> scene = makeScene(u"Hooks");
    BaseNode* node = button.get();
    struct Case {
        CRefPointer<CEvent> event;
        const char* hook;
    };
    const Case cases[] = {
        {CRefPointer<CEvent>(new CEventSystemFlowActivate(true)), "WindowFocus"},
        {CRefPointer<CEvent>(new CEventSystemFlowDestroy()), "ApplicationClose"},
        {CRefPointer<CEvent>(new CEventMessageBoxResult(1)), "MessageBoxResult"},
        {CRefPointer<CEvent>(new CEventSceneSwitchStarted(nullptr, nullptr, 1)), "SceneSwitch"},
        {CRefPointer<CEvent>(new CEventSceneSwitchFinished(nullptr, nullptr, 1)),
         "SceneSwitchDone"},
        {CRefPointer<CEvent>(new ControlEventOf<48>(node)), "Tab48"},
        {CRefPointer<CEvent>(new ControlEventOf<47>(node)), "Tab47"},
        {CRefPointer<CEvent>(new CEventControlClickStarted(node)), "Control62"},
        {CRefPointer<CEvent>(new CEventControlClicked(node)), "ButtonPressed"},
        {CRefPointer<CEvent>(new CEventControlHovered(node)), "NodeHovered"},
        {CRefPointer<CEvent>(new CEventControlUnhovered(node)), "NodeUnhovered"},
        {CRefPointer<CEvent>(new CEventControlFocused(node)), "Control58"},
        {CRefPointer<CEvent>(new CEventControlUnfocused(node)), "Control60"},
        {CRefPointer<CEvent>(new ControlEventOf<65>(node)), "ValueChanged"},
        {CRefPointer<CEvent>(new ControlEventOf<67>(node)), "ListItemPressed"},
        {CRefPointer<CEvent>(new ControlEventOf<69>(node)), "ListItemHovered"},
    };
    for (const Case& c : cases) {
        scene->hooks.clear();
        EXPECT_FALSE(scene->OnEvent(*c.event)) << c.hook << " is not handled by default";
        EXPECT_EQ(scene->hooks, std::vector<std::string>{c.hook}) << c.event->getTypeId();
    }
}

TEST_F(BaseSceneNodeTest, ButtonsAndListItemsSoundWhenHoveredAndPressed) {
    const CRefPointer<RecordingScene> scene = makeScene(u"Sounds");
    manager().openScene(scene.get(), CNameId());
    game.advance(40);

    screen_input::moveTo(game, screen_input::centreOf(*plain));
    game.advance(20);
    EXPECT_EQ(playing("ButtonOver"), 0) << "a control that is no button";

    screen_input::moveTo(game, screen_input::centreOf(*button));
    game.advance(20);
    EXPECT_EQ(playing("ButtonOver"), 1);
    EXPECT_EQ(playing("ButtonClick"), 0);

    screen_input::clickNode(game, *button);
    game.advance(20);
    EXPECT_EQ(playing("ButtonClick"), 1);
    EXPECT_NE(std::find(scene->hooks.begin(), scene->hooks.end(), "ButtonPressed"),
              scene->hooks.end());

    sound().stopGroup(0);
    plain->postEventToParent(CEventReceiver::RouteSelfThenParents,
                             *CRefPointer<CEvent>(new ControlEventOf<67>(plain.get())));
    plain->postEventToParent(CEventReceiver::RouteSelfThenParents,
                             *CRefPointer<CEvent>(new ControlEventOf<69>(plain.get())));
    game.advance(20);
    EXPECT_EQ(playing("ButtonClick"), 1) << "a list's item pressed";
    EXPECT_EQ(playing("ButtonOver"), 1) << "a list's item hovered";
}

TEST_F(BaseSceneNodeTest, ASceneThatKeepsTheHoverToItselfPlaysNoSound) {
    const CRefPointer<RecordingScene> scene = makeScene(u"Quiet");
    scene->keepsHovering = true;
    manager().openScene(scene.get(), CNameId());
    game.advance(40);
    screen_input::moveTo(game, screen_input::centreOf(*button));
    game.advance(20);
    EXPECT_TRUE(button->isHovered());
    EXPECT_EQ(playing("ButtonOver"), 0);
}

} // namespace
