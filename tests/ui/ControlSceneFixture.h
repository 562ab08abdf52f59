#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/EngineSubsystemFactories.h"
#include "engine/core/EventReceiver.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/UiEvents.h"
#include "engine/ui/UiRegistration.h"
#include "tests/core/StubDevice.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneTestNodes.h"

inline std::filesystem::path uiFixtureFolder() {
    return std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "ui" / "fixtures";
}

inline std::string readUiFixture(const std::filesystem::path& name) {
    std::ifstream in(uiFixtureFolder() / name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Records the events of the given ids that the receiver it is attached to is offered, as
// "<name of the event's node>:<id>" ("-" for none), with the state name of a children-state
// event ("b:78 Press"), the new tab of a tab switch ("Tab1:46>Tab2") and the result of a
// message box ("-:45 1").
class EventRecorder : public CEventReceiver {
public:
    explicit EventRecorder(std::set<uint32_t> ids) : m_ids(std::move(ids)) {}

    bool OnEvent(CEvent& event) override {
        if (m_ids.count(event.getTypeId()) == 0)
            return false;
        const BaseNode* node =
            event.isKindOf(CEventNode::Id) ? static_cast<CEventNode&>(event).getNode() : nullptr;
        std::string line = nameOf(node) + ":" + std::to_string(event.getTypeId());
        if (event.isKindOf(CEventNodeChildrenStateStarted::Id)) {
            const CNameId state = static_cast<CEventNodeStateReport&>(event).getStateName();
            line += " " + std::string(state.toString().c_str());
        }
        if (event.isKindOf(CEventTabSwitch::Id))
            line += ">" + nameOf(static_cast<CEventTabSwitch&>(event).getNewTab());
        if (event.isKindOf(CEventMessageBoxResult::Id))
            line += " " + std::to_string(static_cast<CEventMessageBoxResult&>(event).getResult());
        seen.push_back(line);
        return false;
    }
    // What was seen since the last call.
    std::vector<std::string> take() { return std::exchange(seen, {}); }
    static std::string nameOf(const BaseNode* node) {
        return node ? std::string(node->getName().toString().c_str()) : "-";
    }

    std::vector<std::string> seen;

private:
    std::set<uint32_t> m_ids;
};

// The ui library registered (so that scene managers make its message boxes) and the scene
// files of tests/ui/fixtures read with its node types (and the HittingNode of the scene tests,
// for areas the pointer hits), their templates from "Templates.qscn". A scene opened from them
// takes input as the engine gives it: the device's events delivered to the scene manager.
class ControlScene {
public:
    ControlScene() {
        registerUiLibrary();
        registerUiNodeTypes(*scenes.factory);
        scenes.factory->registerNodeType(u"HittingNode", &createNodeOf<HittingNode>);
        for (const auto& entry : std::filesystem::directory_iterator(uiFixtureFolder()))
            scenes.files->add(entry.path().filename().u16string(),
                              readUiFixture(entry.path().filename()));
        const CRefPointer<BaseNode> loaded = scenes.load(u"Templates.qscn");
        templates = CRefPointer<TemplateCollectionNode>::share(
            static_cast<TemplateCollectionNode*>(loaded.get()));
        manager->setTemplateCollection(templates.get());
    }
    ~ControlScene() {
        for (const CRefPointer<BaseNode>& node : m_recorded)
            node->getPreReceivers().clear();
    }

    // Loads the scene file; the scene records the control events reaching it.
    void load(const char16_t* file) {
        const CRefPointer<BaseNode> loaded = scenes.load(file);
        ASSERT_TRUE(loaded && loaded->isKindOf(SceneNode::kTypeId));
        scene = CRefPointer<SceneNode>::share(static_cast<SceneNode*>(loaded.get()));
        events = record(*scene, {62, 63, 64, 65, 66, 67, 68, 69});
    }
    // Opens the loaded scene in the manager.
    void show() {
        manager->openScene(scene.get(), CNameId());
        scene->updateAbsoluteTransform();
        drain();
        events->take();
    }
    void open(const char16_t* file) {
        load(file);
        show();
    }

    // A recorder that sees what the node is offered, before the node's own handlers; the
    // node is kept until the end of the test.
    CRefPointer<EventRecorder> record(BaseNode& node, std::set<uint32_t> ids) {
        CRefPointer<EventRecorder> recorder(new EventRecorder(std::move(ids)));
        node.addPreReceiver(recorder.get());
        m_recorded.push_back(CRefPointer<BaseNode>::share(&node));
        m_recorders.push_back(recorder);
        return recorder;
    }

    template <typename Node>
    Node& find(const char* name) {
        BaseNode* node = scene->findChild(nameId(name), 0);
        EXPECT_TRUE(node != nullptr && node->isKindOf(Node::kTypeId)) << name;
        return *static_cast<Node*>(node);
    }
    // The child of that name in the control's template copy.
    template <typename Node = BaseNode>
    static Node& templateChild(const ControlNode& control, const char* name) {
        BaseNode* node = control.getTemplateRoot()->findChild(nameId(name), 1);
        EXPECT_TRUE(node != nullptr && node->isKindOf(Node::kTypeId)) << name;
        return *static_cast<Node*>(node);
    }

    void send(CEvent* event) {
        manager->deliver(CEventReceiver::RouteSelfThenChildren, *CRefPointer<CEvent>(event));
    }
    void move(int32_t x, int32_t y) { send(new CEventInputMouseMove(x, y)); }
    void down(int32_t x, int32_t y) { send(new CEventInputMouseLeftDown(x, y)); }
    void up(int32_t x, int32_t y) { send(new CEventInputMouseLeftUp(x, y)); }
    void click(int32_t x, int32_t y) {
        down(x, y);
        up(x, y);
        drain();
    }
    void key(uint32_t virtualKey, char16_t character = 0) {
        send(new CEventInputKeyDown(character, virtualKey, false, false));
        drain();
    }
    // Delivers what was posted.
    void drain() { manager->OnUpdate(20); }
    // The scene's clock moves on, then the posted events are delivered.
    void tick(uint32_t ms) {
        scene->getClock()->update(ms);
        drain();
    }

    // Events 62 to 69 that reached the scene.
    CRefPointer<EventRecorder> events;
    SceneFiles scenes;
    CRefPointer<TemplateCollectionNode> templates;
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene;

private:
    std::vector<CRefPointer<BaseNode>> m_recorded;
    std::vector<CRefPointer<EventRecorder>> m_recorders;
};

class ControlSceneTest : public ::testing::Test, public ControlScene {};

// An engine for scene managers to reach its timer and sound player through: a device made
// without the registered subsystems, on a clock that moves only when told. Derived fixtures
// list it before ControlScene, so that it outlives the scene manager.
class StubEngine {
public:
    StubEngine() : m_registered(engineSubsystemFactories()) {
        engineSubsystemFactories() = EngineSubsystemFactories();
        device = CRefPointer<StubDevice>(new StubDevice(clock));
    }
    ~StubEngine() {
        device.reset();
        engineSubsystemFactories() = m_registered;
    }

    FakeClock clock;
    CRefPointer<StubDevice> device;

private:
    EngineSubsystemFactories m_registered;
};
