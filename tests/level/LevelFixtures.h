#pragma once

#include <string>
#include <vector>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeFactory.h"
#include "game/level/CharacterNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneTestNodes.h"

// The names of the states that a scene file node starts, in order: "<node name> <state>".
inline std::vector<std::string>& startedStates() {
    static std::vector<std::string> started;
    return started;
}

// A plain node of scene files that notes every state started on it.
class StateRecorder : public NodeClass<StateRecorder, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 905;
    static constexpr const char16_t* kTypeName = u"StateRecorder";

    using NodeClass::NodeClass;

    bool OnStateStarted(CEventNodeStateStarted& event) override {
        startedStates().push_back(std::string(getName().toString().c_str()) + " " +
                                  event.getStateName().toString().c_str());
        return NodeClass::OnStateStarted(event);
    }
};

// A content manager whose node factory knows the level's classes and the recorder.
inline SceneFiles levelSceneFiles() {
    SceneFiles scenes;
    scenes.factory->registerNodeType(GGameLevelScene::kTypeName, &createNodeOf<GGameLevelScene>);
    scenes.factory->registerNodeType(GCharacterNode::kTypeName, &createNodeOf<GCharacterNode>);
    scenes.factory->registerNodeType(GLocationNode::kTypeName, &createNodeOf<GLocationNode>);
    scenes.factory->registerNodeType(StateRecorder::kTypeName, &createNodeOf<StateRecorder>);
    return scenes;
}

inline std::string nameProperty(const char* name) {
    return std::string("<Properties><string Name=\"Name\" Value=\"") + name + "\"/></Properties>";
}

// A "States" block of empty states, one per name.
inline std::string emptyStates(const std::vector<std::string>& names) {
    std::string states = "<States>";
    for (const std::string& name : names)
        states += "<State Name=\"" + name + "\"/>";
    return states + "</States>";
}

// The level as its own scene on a clock that the test moves.
inline void giveClock(GGameLevelScene& level, CScheduler& clock) {
    level.setClock(&clock);
    level.setScene(nullptr, &level);
}
