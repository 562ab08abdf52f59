#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/BaseProgressBarNode.h"
#include "engine/scene/NodeClass.h"
#include "game/app/LocationConfig.h"
#include "game/app/LocationResource.h"
#include "game/app/ResourceConfig.h"
#include "game/level/CharacterNode.h"
#include "game/level/ObjectLink.h"
#include "game/level/ObjectNode.h"

class GClientNode;
class GStaffNode;

// A serving place of the play field: a dance pad, a fitness machine, a massage table, a drinks
// machine. Clients are placed on it and served there; the hero and the staff stand at it, take
// items from it and recharge it. It offers resources with amounts: a service uses up one unit
// of a limited resource (a maximum above 0), and a location whose resource is used up waits
// for a staff member to recharge it, then finishes the recharge by itself. It counts how many
// clients of one colour came in a row and may get dirty after a client.
//
// It shows its condition through the states of its children ("Normal", "Action",
// "StopAction", "Dirty", "WantRecharge", "Recharging", "RechargeEnded", "Capacity<n>",
// "HLDraggingOn", "HLPlacedOn", "HLOff") and through children of its template: "Color",
// "Indicators" (with "ColorMatch"), "QueueIndex", "RechargeProgress" and "CapacityIcons",
// where it puts a copy of the template "CapacityIcons". Every one of them may be missing.
//
// Each change of its state is sent up the tree at once as a LocationStateEvent (4112), except
// the step from the staff's part of a recharge to its own.
class GLocationNode : public NodeClass<GLocationNode, GObjectNode> {
public:
    static constexpr uint32_t kTypeId = 1151;
    static constexpr const char16_t* kTypeName = u"GLocationNode";

    enum State : int32_t {
        kStateNone = 0,
        kStateReady = 1,
        kStateInAction = 2,
        kStateNeedsRecharge = 3,
        kStateStaffRecharge = 4,
        kStateSelfRecharge = 5,
        kStateActionAnimation = 6,
    };

    GLocationNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // ControlNode's and "Level", which nothing else reads.
    static const PropertyTable& classPropertyTable();
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Binds the display children; nothing while the location is in no scene manager.
    void applyTemplate() override;
    // With a configuration: the resources start anew from it and the location is ready (or
    // waits for a recharge when a resource starts empty). The tick moves onto the clock of the
    // scene that shows the location.
    void setLevel(GGameLevelScene* level) override;
    void setShopMode(bool on, int32_t shopGroup, const GUpgradeItem* current,
                     const GUpgradeItem* next) override;
    // The same colour again (but the neutral one) lengthens the streak, any other starts one.
    void setColor(int32_t color) override;
    // Stands still while the level is paused; leaves the clock once out of the tree.
    bool OnUpdate(uint32_t elapsedMs) override;
    using NodeClass::setState;
    // The saved level's "Location" element; see LocationNodeState.cpp.
    void saveState(CXmlTextWriter& writer) override;
    void loadState(CXmlTextReader& reader) override;

    // The locations' own operations, which the machines continue.

    // Whether clients waiting here can be picked up again by the player.
    virtual bool keepsWaitingClients() const { return false; }
    virtual void addClient(GCharacterNode* client);
    virtual void removeClient(GCharacterNode* client);
    // A dirty location that loses its last client waits to be cleaned.
    virtual void clearClients();
    virtual bool canTakeClient() const;
    // The resource the user chose here; the empty name when there is no choice.
    virtual CNameId getChosenResource() const { return CNameId(); }
    virtual void startAction(CNameId resource);
    // Plays the resource's action animation first when it has one, else uses the resource.
    virtual void finishAction(CNameId resource);
    virtual bool chooseResource(GCharacterNode*, CNameId) { return true; }
    virtual void endChoice(GCharacterNode*, bool, CNameId) {}
    virtual bool canRecharge() const;
    // Starts a recharge, the recharger's part first (none: the location's own clock runs it),
    // shorter in proportion to what is left. False when the location cannot recharge.
    virtual bool startRecharge(GCharacterNode* recharger);
    // Whether a resource offered here is made from another one.
    virtual bool convertsItems() const;
    virtual bool acceptsItem(CNameId) const { return false; }
    virtual bool takeItem(GCharacterNode*, const GResourceConfig*) { return false; }
    virtual float getMoneyFactor() const { return 1.0f; }
    virtual bool isDirty() const { return m_dirty; }
    virtual void setState(int32_t state);
    virtual void showRecharging();
    virtual void showRechargeEnded();

    // Keeps a reference to the configuration and drops the one it had.
    void setConfig(GLocationConfig* config);
    GLocationConfig* getConfig() const { return m_config.get(); }
    int32_t getState() const { return m_state; }
    int32_t getStateTime() const { return m_stateTime; }
    const CArray<LocationResource>& getResources() const { return m_resources; }
    int32_t getColorMatchCount() const { return m_colorMatchCount; }
    // In placing order; an entry reads none once its client is gone.
    const CArray<GObjectRef<GCharacterNode>>& getClients() const { return m_clients; }
    bool hasClients() const;
    void setHero(GCharacterNode* hero) { m_hero = hero; }
    void setStaff(GCharacterNode* staff) { m_staff = staff; }
    GCharacterNode* getHero() const { return m_hero.get(); }
    GCharacterNode* getStaff() const { return m_staff.get(); }
    GCharacterNode* getRecharger() const { return m_recharger.get(); }
    // The level's reset forgets who recharges the location.
    void clearRecharger() { m_recharger = nullptr; }
    void setSwapping(bool swapping) { m_swapping = swapping; }
    GCharacterNode* findClientByName(CNameId name) const;
    // The first of the nearest; none without clients.
    GCharacterNode* findNearestClient(const CVector3d& point) const;
    CVector2d getHeroMountPoint() const;
    CVector2d getStaffMountPoint() const;
    // Where a client of that type stands, and where and how deep while it is served; zeros
    // without a configuration.
    CVector2d getClientMountPoint(CNameId clientType) const;
    CVector2d getActionClientMountPoint(CNameId clientType) const;
    // Where this client stands and is served: by its type here; a pad holding several clients
    // spreads them.
    virtual CVector2d getClientMountPoint(const GClientNode& client) const;
    virtual CVector2d getActionClientMountPoint(const GClientNode& client) const;
    float getActionClientDepth(CNameId clientType) const;
    // A client's service has ended here: the location may get dirty by its configuration's
    // chance, only while it is ready and not while its clients are swapped.
    void rollDirt();
    void consumeResource(CNameId resource);
    // Every limited resource full again, and ready.
    void recharge();

    // Display.

    // "Capacity<n>" for the whole units left of the first resource, on the children and, when
    // its maximum is 2 or more, on the capacity icons; in the shop the icons show the maximum
    // of the configuration the template names instead.
    void updateCapacityDisplay();
    // The bar runs once over the whole recharge.
    void updateRechargeProgress();
    // Shows one more queue mark, up to four made by copying the first; 0 hides them all.
    void showQueueIndex(int32_t position);
    // The marks shown, in the order they came.
    const CArray<int32_t>& getQueueMarks() const { return m_queueMarks; }
    void showIndicator(CNameId name);
    // The empty name hides every icon but "ColorMatch"; a named one is laid out again after
    // 500 ms, once it has gone.
    void hideIndicator(CNameId name);
    // The visible icons first, from the right to the left.
    void layoutIndicators();
    void setDraggingHighlight(bool on);
    void setPlacedHighlight(bool on);

    BaseNode* getColorNode() const { return m_colorNode.get(); }
    BaseNode* getIndicators() const { return m_indicators.get(); }
    BaseNode* getColorMatchIndicator() const { return m_colorMatchIndicator.get(); }
    BaseNode* getQueueIndexNode() const { return m_queueIndexNode.get(); }
    BaseNode* getCapacityIcons() const { return m_capacityIcons.get(); }
    BaseProgressBarNode* getRechargeProgress() const { return m_rechargeProgress.get(); }

protected:
    ~GLocationNode() override = default;

    // The machines choose, convert and compose what they offer.
    CArray<LocationResource>& editResources() { return m_resources; }

private:
    // No amount shows as this, so the next capacity display always sets its states: an
    // unlimited resource may well hold -1.
    static constexpr int32_t kNoCapacityShown = INT32_MIN;

    void loadStateElement(CXmlTextReader& reader);
    void linkRestoredClient(GClientNode* client);
    // role: "Hero", "Staff" or "Recharger".
    void linkRestoredStaff(GStaffNode& member, const CStringW& role);

    void enterState(int32_t old);
    void runRecharge(uint32_t elapsedMs);
    void fillResources(uint32_t elapsedMs);
    void finishRecharge();
    // 1 - amount / maximum of the first limited resource that is not full; 1 when none.
    float missingShare() const;
    void showColor(int32_t old);
    void showColorMatch();
    void rewriteBlink(CColor from, CColor to);
    void bindCapacityIcons();
    void showShopCapacity();
    void playConfiguredCue(CNameId cue, bool exclusive) const;

    int32_t m_state = kStateNone;
    int32_t m_stateTime = 0;
    CArray<GObjectRef<GCharacterNode>> m_clients;
    GObjectRef<GCharacterNode> m_hero;
    GObjectRef<GCharacterNode> m_staff;
    GObjectRef<GCharacterNode> m_recharger;
    CNameId m_actionResource;
    int32_t m_actionTime = 0;
    int32_t m_staffRechargeTime = 0;
    int32_t m_selfRechargeTime = 0;
    // The display children, held so that one that leaves the tree cannot leave them dangling.
    CRefPointer<BaseNode> m_colorNode;
    CRefPointer<BaseNode> m_queueIndexNode;
    CRefPointer<BaseProgressBarNode> m_rechargeProgress;
    CRefPointer<BaseNode> m_capacityIcons;
    CRefPointer<BaseNode> m_indicators;
    CRefPointer<BaseNode> m_colorMatchIndicator;
    int32_t m_indicatorLayoutDelay = -1;
    CRefPointer<GLocationConfig> m_config;
    CArray<LocationResource> m_resources;
    int32_t m_colorMatchCount = 0;
    CArray<int32_t> m_queueMarks;
    bool m_dirty = false;
    bool m_swapping = false;
    int32_t m_levelProperty = 0;
    int32_t m_shownCapacity = kNoCapacityShown;
    bool m_draggingHighlight = false;
};

// The node when it is a location, else none.
GLocationNode* asGLocationNode(BaseNode* node);
