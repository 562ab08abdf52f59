#include "engine/scene/SceneManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/MessageBoxBaseNode.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "tests/core/StubDevice.h"
#include "tests/scene/ControlFixtures.h"
#include "tests/scene/DrawingFixtures.h"

namespace {

// Scenes whose child "body" plays every transition for a given time, each with a control
// "btn" at (0, 0) to (100, 100) that shows whether input reached it.
class SceneManagerTest : public ControlTest {
protected:
    struct Opened {
        CRefPointer<LoggingScene> scene;
        CRefPointer<LoggingControl> button;
    };

    template <typename Scene = LoggingScene>
    Opened makeScene(const char* name, uint32_t transitionMs) {
        Opened made{makeNode<Scene>(name, nullptr, &log), nullptr};
        made.scene->setBounds({1024, 768, 0});
        const CRefPointer<LoggingNode> body = makeNode("body", made.scene.get());
        for (const char16_t* state : {u"NavTo", u"NavFrom", u"NavBackTo", u"NavBackFrom"})
            body->addState(timedState(state, transitionMs).get());
        made.button = makeControl("btn", made.scene.get(), {0, 0, 0}, {100, 100, 0});
        made.scene->updateAbsoluteTransform();
        m_scenes.push_back(made.scene);
        return made;
    }

    CRefPointer<NodeState> timedState(const char16_t* name, uint32_t ms) {
        const std::u16string xml =
            std::u16string(u"<State Name=\"") + name +
            u"\"><Animator Type=\"KeyFrame\"><Properties><bool Name=\"Visible\" Value=\"true\"/>"
            u"</Properties><KeyFrame t=\"0\" Value0=\"true\"/><KeyFrame t=\"" +
            std::u16string(CStringW(ms).c_str()) + u"\" Value0=\"true\"/></Animator></State>";
        const CRefPointer<CXmlTextReader> reader = readerOver(xml);
        moveToElement(*reader, u"State");
        return NodeState::readXml(*reader, *factory, nullptr);
    }

    // Every scene's clock moves on, then the manager ticks.
    void tickAll(uint32_t ms) {
        for (const CRefPointer<LoggingScene>& scene : m_scenes) {
            if (scene->getClock() != nullptr)
                scene->getClock()->update(ms);
        }
        drain();
    }

    // The scene events a node saw: 39, 42 to 45.
    std::vector<std::string> switchEvents(const std::string& node) const {
        std::vector<std::string> found;
        for (const std::string& line : entries(node + ":")) {
            const int id = std::stoi(line);
            if (id == 39 || (id >= 42 && id <= 45))
                found.push_back(line);
        }
        return found;
    }

    // Presses the button of the scene and says whether it went down.
    bool pressReaches(const Opened& opened) {
        down(50, 50);
        const bool pressed = opened.button->isPressed();
        up(500, 500);
        return pressed;
    }

    std::vector<CRefPointer<LoggingScene>> m_scenes;
};

// Reads the scene that each switch it hears of came from.
class WatchingScene : public LoggingScene {
public:
    using LoggingScene::LoggingScene;

    bool OnEvent(CEvent& event) override {
        if (event.getTypeId() == CEventSceneSwitchFinished::Id) {
            const SceneNode* from = static_cast<CEventSceneSwitchFinished&>(event).getFrom();
            cameFrom.push_back(from != nullptr ? from->getName().toString().c_str() : "");
        }
        return LoggingScene::OnEvent(event);
    }

    std::vector<std::string> cameFrom;
};

TEST_F(SceneManagerTest, ASwitchPlaysBothTransitionsAndHoldsInputUntilBothHaveFinished) {
    const Opened a = makeScene("A", 50);
    const Opened b = makeScene("B", 150);
    manager->openScene(a.scene.get(), CNameId());
    tickAll(50);
    log.clear();

    ASSERT_TRUE(a.scene->openScene(b.scene.get(), false, CNameId(), CNameId()));
    EXPECT_EQ(switchEvents("A"), (std::vector<std::string>{"42", "44"}));
    EXPECT_EQ(switchEvents("B"), (std::vector<std::string>{"39", "42", "44"}));
    EXPECT_EQ(entries("A:78 ").back(), "NavFrom");
    EXPECT_EQ(entries("B:78 ").back(), "NavTo");
    EXPECT_EQ(manager->getCurrentScene(), b.scene.get());
    EXPECT_EQ(b.scene->getPreviousScene(), a.scene.get());
    EXPECT_FALSE(pressReaches(b));

    tickAll(50);
    EXPECT_EQ(switchEvents("A"), (std::vector<std::string>{"42", "44", "43"}));
    EXPECT_FALSE(a.scene->isVisible());
    EXPECT_FALSE(a.scene->getClock()->isEnabled());
    EXPECT_FALSE(pressReaches(b));

    tickAll(100);
    EXPECT_EQ(switchEvents("B"), (std::vector<std::string>{"39", "42", "44", "43"}));
    EXPECT_TRUE(b.scene->isFocused());
    EXPECT_TRUE(pressReaches(b));
}

TEST_F(SceneManagerTest, SwitchingWhileTheSceneStillEntersCompletesItsEntryFirst) {
    const Opened a = makeScene("A", 100);
    const Opened b = makeScene("B", 100);
    manager->openScene(a.scene.get(), CNameId());
    ASSERT_TRUE(manager->isBusy(a.scene.get()));
    ASSERT_TRUE(manager->switchScene(a.scene.get(), b.scene.get(), CNameId(), CNameId(), true));
    drain();
    EXPECT_EQ(switchEvents("A"), (std::vector<std::string>{"39", "42", "44", "42", "44", "43"}));
    tickAll(100);
    EXPECT_TRUE(a.scene->isVisible()); // kept visible, as asked
    EXPECT_EQ(count("A:43"), 2);
}

TEST_F(SceneManagerTest, SwitchingWithNoSceneOpenOpensTheScene) {
    manager->openScene(nullptr, CNameId());
    drain();
    ASSERT_EQ(manager->getChildCount(), 0u);
    const Opened a = makeScene("A", 20);
    ASSERT_TRUE(manager->switchScene(nullptr, a.scene.get(), CNameId(), CNameId(), false));
    EXPECT_EQ(manager->getCurrentScene(), a.scene.get());
    tickAll(20);
    EXPECT_EQ(switchEvents("A"), (std::vector<std::string>{"39", "42", "44", "43"}));
    EXPECT_TRUE(pressReaches(a));
}

TEST_F(SceneManagerTest, GoingBackOverThreeScenesClosesTheOnesPassedAndTheOneLeft) {
    const Opened first = makeScene("first", 20);
    const Opened second = makeScene("second", 20);
    const Opened third = makeScene("third", 20);
    manager->openScene(first.scene.get(), CNameId());
    tickAll(20);
    first.scene->openScene(second.scene.get(), false, CNameId(), CNameId());
    tickAll(20);
    second.scene->openScene(third.scene.get(), false, CNameId(), CNameId());
    tickAll(20);
    ASSERT_FALSE(first.scene->isVisible());
    log.clear();

    ASSERT_TRUE(third.scene->navigateBack(1, CNameId(), CNameId()));
    EXPECT_EQ(manager->getCurrentScene(), first.scene.get());
    EXPECT_TRUE(first.scene->isVisible());
    EXPECT_TRUE(first.scene->getClock()->isEnabled());
    EXPECT_EQ(entries("third:78 ").back(), "NavBackFrom");
    EXPECT_EQ(entries("first:78 ").back(), "NavBackTo");
    drain();
    EXPECT_EQ(second.scene->getParent(), nullptr);
    EXPECT_EQ(third.scene->getParent(), manager.get());
    tickAll(20);
    EXPECT_EQ(third.scene->getParent(), nullptr);
    EXPECT_EQ(third.scene->getClock(), nullptr);
    EXPECT_EQ(switchEvents("first"), (std::vector<std::string>{"42", "44", "43"}));
    EXPECT_TRUE(pressReaches(first));
}

// The scene left is closed before the scene gone back to has arrived; the arrival still names it.
TEST_F(SceneManagerTest, AClosedSceneStaysReadableInTheSwitchThatNamesIt) {
    const Opened first = makeScene<WatchingScene>("first", 100);
    Opened second = makeScene("second", 20);
    manager->openScene(first.scene.get(), CNameId());
    tickAll(100);
    first.scene->openScene(second.scene.get(), false, CNameId(), CNameId());
    tickAll(100);
    ASSERT_TRUE(second.scene->navigateBack(0, CNameId(), CNameId()));
    tickAll(20);
    ASSERT_EQ(second.scene->getParent(), nullptr);
    const int destroyedBefore = LoggingScene::destroyed;
    m_scenes.pop_back();
    second = Opened();
    EXPECT_EQ(LoggingScene::destroyed, destroyedBefore); // the arrival's record still holds it

    tickAll(80);
    const auto& watching = static_cast<const WatchingScene&>(*first.scene);
    EXPECT_EQ(watching.cameFrom, (std::vector<std::string>{"", "first", "second"}));
    EXPECT_EQ(LoggingScene::destroyed, destroyedBefore + 1);
}

TEST_F(SceneManagerTest, AMessageBoxReturnsItsResultToTheSceneUnderIt) {
    const CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    makeNode("Ask", templates.get())->setBounds({200, 100, 0});
    templates->OnLoaded();
    manager->setTemplateCollection(templates.get());
    const Opened a = makeScene("A", 20);
    manager->openScene(a.scene.get(), CNameId());
    tickAll(20);
    log.clear();

    CArray<CStringW> texts;
    texts.append(CStringW(u"%Yes%"));
    texts.append(CStringW(u"%No%"));
    EXPECT_EQ(a.scene->showMessageBox(nameId("Missing"), texts, u"Title", u"Body"), nullptr);
    const CRefPointer<MessageBoxBaseNode> box = CRefPointer<MessageBoxBaseNode>::share(
        a.scene->showMessageBox(nameId("Ask"), texts, u"Title", u"Body"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->getPosition(), CVector3d(412, 334, 0));
    EXPECT_EQ(box->getButtonTexts().size(), 2u);
    EXPECT_EQ(manager->getCurrentScene(), box.get());
    EXPECT_EQ(box->getPreviousScene(), a.scene.get());
    EXPECT_TRUE(switchEvents("A").empty());
    drain();
    manager->updateAbsoluteTransform();
    EXPECT_FALSE(pressReaches(a)); // the box takes the input

    // What the box's second button does when clicked.
    box->setResult(1);
    EXPECT_TRUE(box->navigateBack(0, CNameId(), CNameId()));
    drain();
    EXPECT_EQ(switchEvents("A"), std::vector<std::string>{"45 1"});
    EXPECT_EQ(box->getParent(), nullptr);
    EXPECT_TRUE(a.scene->isVisible());
    EXPECT_EQ(manager->getCurrentScene(), a.scene.get());
}

TEST_F(SceneManagerTest, PreviousSceneLoopsEndEveryWalk) {
    // Both scenes live only through the manager and each other's links, which it breaks.
    LoggingScene::destroyed = 0;
    {
        CRefPointer<SceneManager> owner(new SceneManager(CContentKey(), nullptr, nullptr));
        const Opened x = makeScene("X", 10);
        const Opened y = makeScene("Y", 10);
        owner->openScene(x.scene.get(), CNameId());
        owner->appendChild(y.scene.get());
        x.scene->setPreviousScene(y.scene.get());
        y.scene->setPreviousScene(x.scene.get());
        EXPECT_FALSE(x.scene->navigateBackToType(999, CNameId(), CNameId()));
        EXPECT_FALSE(x.scene->navigateBack(7, CNameId(), CNameId()));
        m_scenes.clear();
    }
    EXPECT_EQ(LoggingScene::destroyed, 2);
}

TEST_F(SceneManagerTest, ScenesAreDrawnByDepthThroughTheManagersList) {
    DrawLog drawn;
    CRefPointer<ScissorDriver> driver(new ScissorDriver(drawn));
    manager->setDepthSortEnabled(true);
    const CRefPointer<SceneNode> first(new SceneNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<SceneNode> second(new SceneNode(CContentKey(), nullptr, nullptr));
    manager->openScene(first.get(), CNameId());
    manager->switchScene(first.get(), second.get(), CNameId(), CNameId(), true);
    (new DrawingNode("five", first.get(), 5, 0, drawn))->release();
    (new DrawingNode("minus one", second.get(), -1, 0, drawn))->release();
    (new DrawingNode("three", first.get(), 3, 0, drawn))->release();
    manager->renderScenes(driver.get());
    EXPECT_EQ(drawn, (DrawLog{"render minus one", "render three", "render five", "draw 3 quads"}));
}

TEST_F(SceneManagerTest, SceneClocksRunOnTheEnginesUpdatesAndLeaveWithTheirScenes) {
    FakeClock time;
    const CRefPointer<StubDevice> engine(new StubDevice(time));
    manager->setEngine(engine.get());
    // One pass of the main loop after the time moved on; the first starts the engine's clock.
    auto frame = [&](uint32_t ms) {
        time.advanceMs(ms);
        engine->getTimer()->tick();
        engine->stepFrame(true, true, 20, 1000, 200);
    };
    frame(0);
    const Opened a = makeScene("A", 100);
    manager->openScene(a.scene.get(), CNameId());
    frame(100);
    drain();
    EXPECT_EQ(count("A:43"), 1);

    // Opened again, the scene gets a new clock, and the old one stops.
    const CRefPointer<CScheduler> firstClock = CRefPointer<CScheduler>::share(a.scene->getClock());
    manager->openScene(a.scene.get(), CNameId());
    EXPECT_NE(a.scene->getClock(), firstClock.get());
    frame(100);
    drain();
    EXPECT_EQ(count("A:43"), 2);

    manager->openScene(nullptr, CNameId());
    drain();
    EXPECT_EQ(a.scene->getParent(), nullptr);
    frame(100); // no clock of a closed scene is left behind
    manager->setEngine(nullptr);
}

} // namespace
