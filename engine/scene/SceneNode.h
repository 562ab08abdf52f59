#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"

class MessageBoxBaseNode;

// The root of a scene: a control with the clock on which the states of all its nodes run and a
// link to the scene it was opened from, which back navigation follows.
class SceneNode : public NodeClass<SceneNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 6;
    static constexpr const char16_t* kTypeName = u"SceneNode";

    SceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // The scene manager makes it when it takes the scene in; none before.
    CScheduler* getClock() const { return m_clock.get(); }
    void setClock(CScheduler* clock) { m_clock = CRefPointer<CScheduler>::share(clock); }
    SceneNode* getPreviousScene() const { return m_previousScene.get(); }
    // Holds a reference to the scene; the same scene again changes nothing.
    void setPreviousScene(SceneNode* scene);
    // Offers the scene and then each scene along its previous-scene links, each once (the links
    // may form a loop), to visit until visit answers true; that scene, or none.
    template <typename Visit>
    static SceneNode* findOnChain(SceneNode* start, Visit visit);

    // Switches the scene manager from its current scene to the scene; empty names take the
    // manager's defaults.
    bool openScene(SceneNode* scene, bool keepVisible, CNameId leaveState, CNameId enterState);
    // Loads a scene file relative to the content manager's current folder and opens it; the
    // scene, or none when the file does not load as a scene or the switch is refused. The caller
    // holds no reference to it.
    SceneNode* openSceneFile(const CStringW& fileName, bool keepVisible, CNameId leaveState,
                             CNameId enterState);
    // Back to the previous scene, or that many scenes further along the previous-scene links.
    bool navigateBack(int32_t steps, CNameId leaveState, CNameId enterState);
    // Back to the nearest previous scene of exactly that type.
    bool navigateBackToType(uint32_t typeId, CNameId leaveState, CNameId enterState);
    MessageBoxBaseNode* showMessageBox(CNameId templateName, const CArray<CStringW>& buttonTexts,
                                       const CStringW& title, const CStringW& body);

    // Stops the named state, reporting, on the children of the template's copy and on the
    // direct children, so that a running transition ends at once.
    void stopChildrenState(CNameId name);
    // Unhandled by the control, the event goes up to the scene manager.
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;

protected:
    ~SceneNode() override = default;

private:
    CRefPointer<CScheduler> m_clock;
    CRefPointer<SceneNode> m_previousScene;
};

template <typename Visit>
SceneNode* SceneNode::findOnChain(SceneNode* start, Visit visit) {
    CArray<const SceneNode*> visited;
    for (SceneNode* scene = start; scene != nullptr; scene = scene->getPreviousScene()) {
        for (const SceneNode* seen : visited) {
            if (seen == scene)
                return nullptr;
        }
        if (visit(scene))
            return scene;
        visited.append(scene);
    }
    return nullptr;
}
