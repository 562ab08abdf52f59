#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/Scheduler.h"
#include "engine/core/String.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

class CEngine;
class IRenderDriver;
class MessageBoxBaseNode;
class SceneNode;
class TemplateCollectionNode;

// The node that owns the open scenes (its children): it opens a scene, switches from one to
// another with named transition states, goes back along the scenes' previous-scene links, puts
// message boxes over a scene, gives input to the current scene only, queues node events and
// delivers them at its tick, and draws its scenes through a render list sorted by depth.
//
// A scene counts as busy while a transition names it; it gets input only when the transition
// states of both scenes have finished. State names left empty take their defaults: "NavTo" and
// "NavFrom" forward, "NavBackTo" and "NavBackFrom" back.
class SceneManager : public NodeClass<SceneManager, BaseNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 22;
    static constexpr const char16_t* kTypeName = u"SceneManager";

    SceneManager(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // The engine that makes and ticks the scenes' clocks and has the cursor; without one
    // (tests) the clocks are plain schedulers that nothing ticks by itself.
    void setEngine(CEngine* engine) { m_engine = engine; }
    CEngine* getEngine() const { return m_engine; }

    // Keeps a reference to the receiver (but to itself) and to the event until delivery. Outside
    // a delivery the
    // entry goes to the back of the queue; while the queue is being delivered it goes to the
    // front, so it is delivered right after the event being delivered.
    void postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event);
    // Delivers the queue, including what is posted meanwhile, then removes the scenes that
    // are done.
    bool OnUpdate(uint32_t elapsedMs) override;

    // Controls take their templates from it; a new collection reaches every open scene (40).
    void setTemplateCollection(TemplateCollectionNode* collection);
    TemplateCollectionNode* getTemplateCollection() const { return m_templateCollection.get(); }

    // Closes every open scene and opens this one (none: closes only).
    bool openScene(SceneNode* scene, CNameId enterState);
    // From the scene (none: the new scene goes on top without becoming current, or is opened
    // when no scene is open) to another; the scene left stays visible when asked, else it and
    // its previous scenes are hidden with their clocks stopped once it has left.
    bool switchScene(SceneNode* from, SceneNode* to, CNameId leaveState, CNameId enterState,
                     bool keepVisible);
    // Back from the scene to one on its chain of previous scenes; the scenes between are
    // closed at once, the scene left once its state has finished.
    bool navigateBack(SceneNode* from, SceneNode* to, CNameId leaveState, CNameId enterState);
    // A box made from the named template, centred over the scene; when it has closed, the scene
    // gets event 45 with the box's result. None for a busy scene or an unknown template.
    MessageBoxBaseNode* showMessageBox(SceneNode* scene, CNameId templateName,
                                       const CArray<CStringW>& buttonTexts, const CStringW& title,
                                       const CStringW& body);
    SceneNode* getCurrentScene() const { return m_currentScene.get(); }
    bool isBusy(const SceneNode* scene) const;

    // Draws the open scenes in depth order (when sorting is on) through the driver's 2D batch.
    void renderScenes(IRenderDriver* driver);
    bool isDepthSortEnabled() const { return m_depthSort; }
    void setDepthSortEnabled(bool enabled) { m_depthSort = enabled; }

    // A manager inside another's scene is one entry of that scene's render list.
    void collectDrawables(RenderList& list) override;
    void render(IRenderDriver* driver, const CRect* clip) override;
    // The transition step: a scene's children have finished a state.
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    // Without a parent every event passed up ends here.
    bool sendToParent(int32_t mode, CEvent& event) override;
    // Input to the current scene only; other events to every open scene.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties&) const override {}
    void loadProperties(const CProperties&) override {}
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;

protected:
    ~SceneManager() override;

private:
    struct QueuedEvent {
        // None for the manager itself.
        CRefPointer<CEventReceiver> receiver;
        int32_t mode;
        CRefPointer<CEvent> event;
    };
    struct SceneTransition {
        CRefPointer<SceneNode> leaving;
        CNameId leaveState;
        CRefPointer<SceneNode> arriving;
        CNameId enterState;
        uint8_t forward;
        uint8_t keepVisible;
    };

    void deliverQueue();
    void removeClosedScenes();
    void listForRemoval(BaseNode* node);
    // The first transition naming the scene; -1 when there is none.
    int32_t findTransition(const SceneNode* scene) const;
    void addTransition(const SceneTransition& transition);
    // Gives the scene a new clock, registered with the engine; a clock it had goes.
    void giveClock(SceneNode* scene);
    void releaseClock(SceneNode* scene);
    // Takes the scene in: the manager and itself as its scene, unfocused, event 39.
    void attachScene(SceneNode* scene);
    void announceSwitch(SceneNode* scene, SceneNode* from, SceneNode* to, int32_t forward);
    // Completes a transition that the scene is part of, as switching away from it does.
    void completeTransitionOf(SceneNode* scene);
    void finishArrival(SceneNode* scene, const SceneTransition& transition);
    void finishDeparture(SceneNode* scene, const SceneTransition& transition);
    void queueSwitchFinished(SceneNode* scene, const SceneTransition& transition);
    bool isOpen(const SceneNode* scene) const;
    void breakPreviousLinks();

    CEngine* m_engine = nullptr;
    CRefPointer<TemplateCollectionNode> m_templateCollection;
    CMap<SceneNode*, CRefPointer<CScheduler>> m_sceneClocks;
    CRefPointer<SceneNode> m_currentScene;
    CArray<SceneTransition> m_transitions;
    bool m_depthSort = false;
    RenderList m_renderList;
    CArray<CRefPointer<BaseNode>> m_removals;
    CArray<QueuedEvent> m_queue;
    // The next entry to deliver while the queue is being delivered; entries before it are done.
    uint32_t m_queueHead = 0;
    bool m_dispatching = false;
};
