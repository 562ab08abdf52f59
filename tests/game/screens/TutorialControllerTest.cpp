#include "game/screens/TutorialController.h"

#include <string>
#include <vector>

#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"
#include "game/screens/SceneChildren.h"
#include "game/screens/TutorialScript.h"
#include "tests/game/screens/ScreenFixture.h"

namespace {

// An action the test drives: done when told, consuming events when told, counting its calls.
class ScriptedAction : public GTutorialAction {
public:
    explicit ScriptedAction(int32_t skipCount = 0) { setSkipCount(skipCount); }

    void begin(GGameLevelScene* level) override {
        GTutorialAction::begin(level);
        ++begins;
    }
    void update(uint32_t) override { ++updates; }
    bool isDone() const override { return done; }
    void reset() override { ++resets; }
    bool OnEvent(CEvent& event) override {
        events.push_back(event.getTypeId());
        return consumes;
    }

    bool done = false;
    bool consumes = false;
    int begins = 0;
    int updates = 0;
    int resets = 0;
    std::vector<uint32_t> events;

protected:
    ~ScriptedAction() override = default;
};

// The screen that owns a tutorial, as the game's screens do: it offers its events to the
// controller first, steps it from its own tick and lets it go once it reports the end; its own
// button handler notes the clicks that reach it.
class TutorialOwnerScene : public GBaseSceneNode {
public:
    explicit TutorialOwnerScene(const CContentKey& key) : GBaseSceneNode(key, nullptr, nullptr) {}

    void run(GTutorialController* controller) {
        tutorial = CRefPointer<GTutorialController>::share(controller);
        tutorial->attachTo(*this);
        tutorial->start();
    }
    bool OnUpdate(uint32_t elapsedMs) override {
        GBaseSceneNode::OnUpdate(elapsedMs);
        if (tutorial && !tutorial->OnUpdate(elapsedMs)) {
            tutorial->detach();
            tutorial = nullptr;
            ++ends;
        }
        return true;
    }
    bool OnButtonPressed(CEventControlClicked& event) override {
        GBaseSceneNode::OnButtonPressed(event);
        pressed.push_back(event.getNode()->getName().toString().c_str());
        return true;
    }

    BaseNode* scene = nullptr;
    CRefPointer<GTutorialController> tutorial;
    int ends = 0;
    std::vector<std::string> pressed;

protected:
    ~TutorialOwnerScene() override = default;
};

class TutorialControllerTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        owner = CRefPointer<TutorialOwnerScene>(
            new TutorialOwnerScene(CContentKey(&content(), u"scenes/TutorialOwner.qscn")));
        const CRefPointer<BaseNode> scene(new BaseNode(CContentKey(), owner.get(), nullptr));
        scene->setName(nameOf("Scene"));
        owner->scene = scene.get();
        manager().openScene(owner.get(), CNameId());
        settle();
    }

    // A controller under the owner's "Scene" with the game's templates, its script read from
    // the text.
    CRefPointer<GTutorialController> controllerFor(const std::string& script,
                                                   TemplateCollectionNode* templates = nullptr) {
        CRefPointer<GTutorialController> controller(new GTutorialController(
            owner->scene, templates != nullptr ? templates : manager().getTemplateCollection(),
            &content()));
        std::string text = script;
        CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
            reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"tutorial.xml", false));
        CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
        controller->loadScript(*reader, nullptr);
        return controller;
    }
    // That many hints without actions, each with its index as text.
    static std::string hints(int count) {
        std::string out = "<Tutorial>";
        for (int i = 0; i < count; ++i)
            out += "<Hint><Text Value=\"" + std::to_string(i) + "\"/></Hint>";
        return out + "</Tutorial>";
    }
    static ScriptedAction* addAction(GTutorialController& controller, uint32_t hint,
                                     int32_t skipCount = 0) {
        CRefPointer<ScriptedAction> action(new ScriptedAction(skipCount));
        controller.getScript()->getHints()[hint]->actions.append(action);
        return action.get();
    }
    // The owner's click handler hears of it unless the tutorial consumes the click.
    bool clickReachesOwner(const char* control) {
        CRefPointer<BaseNode> node(new BaseNode(CContentKey(), owner->scene, nullptr));
        node->setName(nameOf(control));
        const size_t before = owner->pressed.size();
        CEventControlClicked event(node.get());
        owner->OnEvent(event);
        owner->scene->removeChild(node.get());
        return owner->pressed.size() > before;
    }
    static std::string textOf(BaseNode* window) {
        auto* text = findChildOf<TextNode>(window, "Text");
        return text != nullptr ? utf16ToUtf8(text->getText().c_str()).c_str() : "(none)";
    }

    CRefPointer<TutorialOwnerScene> owner;
};

TEST_F(TutorialControllerTest, ChoosesTheWindowByPictureAndTextAndMovesItInAndOut) {
    const CRefPointer<GTutorialController> controller = controllerFor(R"(<Tutorial>
        <Hint><Text Value="first"/><Position Value="100;200"/><NeliaPosition Value="40;260;3"/></Hint>
        <Hint><Text Value="second"/><Position Value="300;50"/></Hint>
        <Hint/>
        <Hint><Text Value="again"/></Hint>
        <Hint><Text Value="pictured"/><Image Value="PickUp.png"/></Hint>
        <Hint><Text Value="plain"/></Hint>
        <Hint><Image Value="CheckOut.png"/></Hint>
        <Hint><Text Value="missing picture"/><Image Value="Missing.png"/></Hint>
    </Tutorial>)");
    BaseNode* textWindow = controller->getTextWindow();
    BaseNode* iconWindow = controller->getIconWindow();
    ASSERT_TRUE(textWindow && iconWindow);
    BaseNode* heroine = textWindow->findChild(nameOf("Nelia"), 1);
    auto* icon = findChildOf<SpriteNode>(iconWindow, "Icon");
    ASSERT_TRUE(heroine && icon);
    EXPECT_FALSE(textWindow->isVisible());
    EXPECT_FALSE(iconWindow->isVisible());
    for (uint32_t i = 0; i < controller->getScript()->getHintCount(); ++i)
        addAction(*controller, i)->done = true;

    struct Step {
        const char* textState;
        const char* iconState;
        const char* text;
        const char* iconText;
        bool heroine;
    };
    const Step steps[] = {
        {"NavTo", "", "first", "", true},
        {"NavTo", "", "second", "", false},
        {"NavFrom", "", "second", "", false},
        {"NavTo", "", "again", "", false},
        {"NavFrom", "NavTo", "again", "pictured", false},
        {"NavTo", "NavFrom", "plain", "pictured", false},
        {"NavFrom", "NavFrom", "plain", "pictured", false},
        {"NavTo", "NavFrom", "missing picture", "pictured", false},
    };
    owner->run(controller.get());
    for (uint32_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(controller->getCurrentHint(), int32_t(i));
        EXPECT_EQ(stateOf(textWindow), s.textState) << i;
        EXPECT_EQ(stateOf(iconWindow), s.iconState) << i;
        EXPECT_EQ(textOf(textWindow), s.text) << i;
        EXPECT_EQ(textOf(iconWindow), s.iconText) << i;
        EXPECT_EQ(heroine->isVisible(), s.heroine) << i;
        if (i == 0) {
            EXPECT_EQ(textWindow->getPosition(), CVector3d(100, 200, 1999));
            EXPECT_EQ(heroine->getPosition(), CVector3d(-60, 60, 3)) << "placed in the window";
        }
        if (i == 1) {
            EXPECT_EQ(textWindow->getPosition(), CVector3d(300, 50, 1999));
        }
        if (i == 4) {
            EXPECT_NE(icon->getImage(), nullptr);
        }
        EXPECT_TRUE(controller->OnUpdate(30));
    }
    EXPECT_FALSE(controller->OnUpdate(30)) << "past the last hint";
}

TEST_F(TutorialControllerTest, ArrowsAppearWithTheirHintAndTheOldOnesDisappear) {
    const CRefPointer<GTutorialController> controller = controllerFor(R"(<Tutorial>
        <Hint><Arrows><Arrow Position="10;20;1" Rotation="90"/><Arrow Position="30;40"/></Arrows></Hint>
        <Hint><Arrows><Arrow Position="50;60" Rotation="-45"/></Arrows></Hint>
        <Hint/>
    </Tutorial>)");
    addAction(*controller, 0)->done = true;
    addAction(*controller, 1)->done = true;
    BaseNode* arrows = controller->getArrowContainer();
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(arrows->getParent(), owner->scene);
    owner->run(controller.get());
    ASSERT_EQ(arrows->getChildCount(), 2u);
    EXPECT_EQ(arrows->getChild(0)->getPosition(), CVector3d(10, 20, 1));
    EXPECT_EQ(arrows->getChild(0)->getRotation(), CVector3d(0, 0, 90));
    EXPECT_EQ(arrows->getChild(1)->getPosition(), CVector3d(30, 40, 0));

    const std::vector<std::vector<std::string>> states = {
        {"OnAppear", "OnAppear"},
        {"OnDisappear", "OnDisappear", "OnAppear"},
        {"OnDisappear", "OnDisappear", "OnDisappear"},
    };
    for (uint32_t step = 0; step < states.size(); ++step) {
        std::vector<std::string> found;
        for (uint32_t i = 0; i < arrows->getChildCount(); ++i)
            found.push_back(stateOf(arrows->getChild(i)));
        EXPECT_EQ(found, states[step]) << step;
        controller->OnUpdate(30);
    }
    EXPECT_EQ(arrows->getChild(2)->getRotation(), CVector3d(0, 0, -45));
}

TEST_F(TutorialControllerTest, TheFirstDoneActionMovesOnByItsSkipCount) {
    struct Case {
        const char* what;
        std::vector<int32_t> skipCounts; // the actions of hint 0, each done
        int32_t next;
    };
    const Case cases[] = {
        {"one action", {0}, 1},
        {"skip count 2", {2}, 3},
        {"two done at once: the first counts", {0, 3}, 1},
        {"past the end, never beyond it", {2147483647}, 5},
    };
    for (const Case& c : cases) {
        const CRefPointer<GTutorialController> controller = controllerFor(hints(5));
        std::vector<ScriptedAction*> actions;
        for (int32_t skip : c.skipCounts) {
            actions.push_back(addAction(*controller, 0, skip));
            actions.back()->done = true;
        }
        ScriptedAction* later = addAction(*controller, 1);
        owner->run(controller.get());
        EXPECT_TRUE(controller->OnUpdate(20)) << c.what;
        EXPECT_EQ(controller->getCurrentHint(), c.next) << c.what;
        EXPECT_EQ(actions[0]->updates, 1) << c.what;
        for (ScriptedAction* action : actions)
            EXPECT_EQ(action->resets, 1) << c.what << ": every action of the hint is reset";
        if (actions.size() > 1) {
            EXPECT_EQ(actions[1]->updates, 0) << c.what << ": not updated after the first";
        }
        EXPECT_EQ(later->begins, c.next == 1 ? 1 : 0) << c.what;
        EXPECT_EQ(controller->OnUpdate(20), c.next < 5) << c.what;
        owner->tutorial->detach();
        owner->tutorial = nullptr;
    }
}

TEST_F(TutorialControllerTest, AHintWithoutActionsOrUnfinishedStaysUntilSkipped) {
    const CRefPointer<GTutorialController> controller = controllerFor(hints(2));
    ScriptedAction* waiting = addAction(*controller, 1);
    owner->run(controller.get());
    game.advance(300);
    EXPECT_EQ(owner->ends, 0);
    EXPECT_EQ(controller->getCurrentHint(), 0);
    EXPECT_EQ(waiting->begins, 0);
    controller->skip();
    EXPECT_EQ(owner->ends, 0) << "the end shows at the next update";
    game.advance(30);
    EXPECT_EQ(owner->ends, 1);
    EXPECT_EQ(owner->getPreReceivers().size(), 0u);
}

TEST_F(TutorialControllerTest, OffersEventsToEveryActionButNeverTheOwnersTutorialButtons) {
    const CRefPointer<GTutorialController> controller = controllerFor(hints(1));
    ScriptedAction* first = addAction(*controller, 0);
    ScriptedAction* second = addAction(*controller, 0);
    first->consumes = true;
    owner->run(controller.get());
    EXPECT_FALSE(clickReachesOwner("OkButton")) << "consumed by the hint";
    EXPECT_EQ(second->events, std::vector<uint32_t>{CEventControlClicked::Id})
        << "offered to every action, even after one consumed it";
    EXPECT_TRUE(clickReachesOwner("SkipTutorialButton"));
    EXPECT_TRUE(clickReachesOwner("MenuButton"));
    EXPECT_EQ(first->events.size(), 1u) << "the owner's buttons are never offered";
    first->consumes = false;
    EXPECT_TRUE(clickReachesOwner("OkButton"));
    controller->skip();
    first->consumes = true;
    EXPECT_TRUE(clickReachesOwner("OkButton")) << "an ended tutorial offers nothing";
}

TEST_F(TutorialControllerTest, WithoutTheTextWindowTemplateTheTutorialEndsAtOnce) {
    CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    BaseNode* iconWindow =
        manager().getTemplateCollection()->getTemplate(nameOf("TutorialIconWindow"));
    iconWindow->clone(templates.get(), nullptr);
    templates->OnLoaded();
    const CRefPointer<GTutorialController> controller = controllerFor(hints(3), templates.get());
    EXPECT_EQ(controller->getScript(), nullptr);
    EXPECT_EQ(controller->getTextWindow(), nullptr);
    ASSERT_NE(controller->getIconWindow(), nullptr);
    owner->run(controller.get());
    game.advance(GBaseSceneNode::kTickMs * 2);
    EXPECT_EQ(owner->ends, 1);
    EXPECT_FALSE(controller->getIconWindow()->isVisible());
}

TEST_F(TutorialControllerTest, ReleasedItLeavesTheSceneAndThePreReceiverLists) {
    CRefPointer<GTutorialController> controller = controllerFor(hints(1));
    BaseNode* scene = owner->scene;
    const uint32_t children = scene->getChildCount();
    EXPECT_EQ(children, 3u) << "the arrows, the icon window and the text window";
    controller->attachTo(*owner);
    controller = nullptr;
    EXPECT_EQ(scene->getChildCount(), 0u);
    EXPECT_EQ(owner->getPreReceivers().size(), 0u);
}

} // namespace
