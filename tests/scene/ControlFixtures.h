#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "tests/scene/AnimationFixtures.h"

using LoggingControl = Logging<ControlNode>;
using LoggingScene = Logging<SceneNode>;

// A scene opened in a scene manager, with input fed through the manager as the engine feeds it.
// Controls get an area child that is hit wherever its bounds are; that child has a "Press"
// state of 100 ms when asked, so that a click stays pending until the clock moves on.
class ControlTest : public ::testing::Test {
protected:
    ControlTest() {
        manager->openScene(scene.get(), CNameId());
        drain();
    }

    CRefPointer<LoggingControl> makeControl(const char* name, BaseNode* under, CVector3d at,
                                            CVector3d size, bool slowPress = false) {
        CRefPointer<LoggingControl> control = makeNode<LoggingControl>(name, under, &log);
        control->setPosition(at);
        const CRefPointer<HittingNode> area = makeNode<HittingNode>("area", control.get());
        area->setBounds(size);
        if (slowPress)
            area->addState(readPressState().get());
        scene->updateAbsoluteTransform();
        return control;
    }

    CRefPointer<NodeState> readPressState() {
        const CRefPointer<CXmlTextReader> reader =
            readerOver(u"<State Name=\"Press\"><Animator Type=\"KeyFrame\"><Properties>"
                       u"<bool Name=\"Visible\" Value=\"true\"/></Properties><KeyFrame t=\"0\" "
                       u"Value0=\"true\"/>"
                       u"<KeyFrame t=\"100\" Value0=\"true\"/></Animator></State>");
        moveToElement(*reader, u"State");
        return NodeState::readXml(*reader, *factory, nullptr);
    }

    void send(CEvent* event) {
        manager->deliver(CEventReceiver::RouteSelfThenChildren, *CRefPointer<CEvent>(event));
    }
    void move(int32_t x, int32_t y) { send(new CEventInputMouseMove(x, y)); }
    void down(int32_t x, int32_t y) { send(new CEventInputMouseLeftDown(x, y)); }
    void up(int32_t x, int32_t y) { send(new CEventInputMouseLeftUp(x, y)); }
    void key(uint32_t virtualKey) { send(new CEventInputKeyDown(0, virtualKey, false, false)); }
    void drain() { manager->OnUpdate(20); }
    void tick(uint32_t ms) {
        scene->getClock()->update(ms);
        drain();
    }

    // The entries of the log that start with the prefix ("b:78 " gives b's visual states).
    std::vector<std::string> entries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : log) {
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line.substr(prefix.size()));
        }
        return found;
    }
    long count(const std::string& line) const { return std::count(log.begin(), log.end(), line); }

    EventLog log;
    CRefPointer<CNodeFactory> factory{new CNodeFactory()};
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<LoggingScene> scene = makeNode<LoggingScene>("scene", nullptr, &log);
};
