#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/SoundNode.h"
#include "game/app/ResourceConfig.h"
#include "game/app/StaffConfig.h"
#include "game/level/CharacterNode.h"
#include "game/level/ObjectLink.h"

class GClientNode;
class GLocationNode;

// A worker of the club (the masseur, the fitness trainer and, as its subclass, the hero). It
// keeps a queue of tasks at locations: serve a client there, fetch or convert or deliver items
// there, or recharge it. It walks to each in turn, serves the clients it can with the resources
// its configuration provides, carries items in as many hands as its "CarriedIcons" has sprites,
// shows a progress pie ("ProgressIcon" > "ActionProgress1") while it serves, idles between
// tasks and walks back to its home place when the queue runs dry. Whenever what it carries
// changes it sends a StaffEvent (4115) up the tree.
class GStaffNode : public NodeClass<GStaffNode, GCharacterNode> {
public:
    static constexpr uint32_t kTypeId = 1150;
    static constexpr const char16_t* kTypeName = u"GStaffNode";

    enum State : int32_t {
        kStateNone = 0,
        kStateIdle = 1,
        kStateWalking = 2,
        kStateWorking = 3,
    };

    enum TaskKind : int32_t {
        kTaskGoTo = 0,
        kTaskServe = 1,
        kTaskFetch = 2,
        kTaskRecharge = 3,
    };

    struct StaffTask {
        GObjectRef<GLocationNode> location;
        CNameId locationName;
        // The client to serve, or the resource chosen at the location.
        CNameId target;
        int32_t kind;
    };

    GStaffNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Binds "ProgressIcon" (hidden), the hands of "CarriedIcons" and "Sound".
    void OnLoaded() override;
    void setLevel(GGameLevelScene* level) override;
    void setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                     const GUpgradeItem* next) override;
    bool OnUpdate(uint32_t elapsedMs) override;
    void onWalkStarted() override;
    void onWalkFinished() override;
    // The saved level's "Staff" element; see StaffNodeState.cpp.
    void saveState(CXmlTextWriter& writer) override;
    void loadState(CXmlTextReader& reader) override;

    // The staff's own operations, which the hero continues.

    virtual void setLocation(GLocationNode* location);
    // Whether a client at the location wants a resource this staff member provides.
    virtual bool canServe(const GLocationNode& location) const;
    virtual void enqueueTask(GLocationNode* location, CNameId target, int32_t kind);
    // Never the head.
    virtual void dropLastTask();
    virtual void clearTasks();
    virtual void onClientResumed(GClientNode& client);
    virtual void showStand(GClientNode& client);
    virtual void finishServing(GClientNode& client);
    virtual void collectGarbage(GLocationNode& location);
    virtual void onStartServing(GClientNode& client, const GResourceConfig& resource);
    virtual void onServingFinished(GClientNode&) {}
    virtual void setStaffState(int32_t state);
    virtual void finishCurrentTask();
    virtual void startNextTask();
    virtual void optimiseTasks();
    virtual void onTaskDone(GLocationNode* location);
    // True when the staff member stays to work; handled tells whether the client was its.
    virtual bool serveClient(GClientNode& client, bool& handled, bool completePending);
    virtual bool useLocation(bool& handled);
    virtual void playIdleAnimation();
    // The tasks of the "LocationsQueue" element the reader stands on, each without its location
    // until the location of its name claims it.
    virtual void loadTasks(CXmlTextReader& reader);

    // A negative or unending "Velocity" is refused with a warning and the old one kept.
    void setConfig(GStaffConfig* config);
    GStaffConfig* getConfig() const { return m_config.get(); }
    // The fraction of the staff's part of a service on the pie; negative hides it.
    void setProgress(float fraction);
    bool takeFromLocation(GLocationNode& location, CNameId name);
    bool dropItemsAt(GLocationNode& location);

    int32_t getStaffState() const { return m_state; }
    int32_t getStateTime() const { return m_stateTime; }
    GLocationNode* getLocation() const;
    const CArray<StaffTask>& getTasks() const { return m_tasks; }
    const CArray<CNameId>& getCarried() const { return m_carried; }
    // The first empty hand takes the item; false with every hand full.
    bool takeInHand(CNameId item);
    bool hasEmptyHand() const;
    // A restored location takes the tasks that name it.
    void claimTasksAt(GLocationNode& location);
    // The end of a restore: tasks that no location claimed are dropped, and a member saved
    // walking walks again to its first task (or stands, with none left).
    void resumeAfterRestore();
    bool isGoingHome() const { return m_goHome; }
    BaseNode* getProgressIcon() const { return m_progressIcon.get(); }

protected:
    ~GStaffNode() override = default;

    CArray<StaffTask>& tasks() { return m_tasks; }
    // Stores the location, telling the old one and the new one through the setter.
    void linkLocation(GLocationNode* location, void (GLocationNode::*tell)(GCharacterNode*));
    void refreshCarriedIcons();
    void freeHand(uint32_t hand);
    void sendStaffEvent();
    bool provides(CNameId resource) const;

private:
    void loadCarried(const CArray<CNameId>& names);
    void walkHome();
    void playStand();
    bool convertAt(GLocationNode& location, const StaffTask& task, bool& working);
    int32_t findConvertingHand(const GLocationNode& location) const;
    bool takeResource(GLocationNode& location, const GResourceConfig& resource);

    int32_t m_state = kStateNone;
    int32_t m_stateTime = 0;
    GObjectRef<GLocationNode> m_location;
    CArray<StaffTask> m_tasks;
    bool m_goHome = false;
    CRefPointer<GStaffConfig> m_config;
    CArray<CNameId> m_carried;
    CRefPointer<BaseNode> m_progressIcon;
    CArray<CRefPointer<BaseNode>> m_icons;
    CRefPointer<SoundNode> m_sound;
    int32_t m_idleTimer = 0;
};

// The node when it is a staff member (the hero too), else none.
GStaffNode* asGStaffNode(BaseNode* node);
