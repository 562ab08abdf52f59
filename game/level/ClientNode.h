#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseProgressBarNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"
#include "game/app/ClientConfig.h"
#include "game/app/ClientQueue.h"
#include "game/app/ClientWishList.h"
#include "game/app/ResourceConfig.h"
#include "game/level/CharacterNode.h"
#include "game/level/ObjectLink.h"

class CEventControlClicked;
class CEventNodeChildrenStateStarted;
class GLocationNode;
class GStaffNode;
class TemplateCollectionNode;

// One customer of the club. It comes with a client type, the queue record it was spawned from
// and a wish tree: one group node per wave, leaves naming the resources it wants, closed by
// "CheckOut". It waits to be placed, is served at locations alone or with a staff member, asks
// for additional items, loses hearts while it waits and gains them when pleased, pays at the
// check-out and leaves, happy or angry.
//
// Its look is the states of its children, played by name, and clones of the level's templates
// "ClientHearts" (heart icons "Full", "Medium", "Empty"), "Icons" (its wishes, the requested
// item and the service progress) and "ActionPanel2"/"ActionPanel3" (a choice of resources).
// Any of them may be missing.
//
// Its location, staff member, attendant and group members are weak links: they read none once
// the other object is gone. The level owns the client; the goodbye animation's end detaches it.
class GClientNode : public NodeClass<GClientNode, GCharacterNode> {
public:
    static constexpr uint32_t kTypeId = 1148;
    static constexpr const char16_t* kTypeName = u"GClientNode";

    enum State : int32_t {
        kStateNone = 0,
        kStateWaiting = 1,
        kStateWaitingForStart = 2,
        kStateWaitingForAttendant = 3,
        kStateServedByStaff = 4,
        kStateSelfServing = 5,
        kStatePaused = 6,
        kStateWantsItem = 7,
        kStateItemComing = 8,
        kStateLeaving = 9,
        kStateChoosing = 10,
        kStateAtCheckOut = 11,
    };

    struct ItemRequest {
        CNameId resource;
        int32_t time;
    };

    GClientNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // "StandAnimationsCount" only when it is not 0.
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void setLevel(GGameLevelScene* level) override;
    void setColor(int32_t color) override;
    void updateHoverState() override;
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    // The saved level's "Client" element; see ClientNodeState.cpp.
    void saveState(CXmlTextWriter& writer) override;
    void loadState(CXmlTextReader& reader) override;
    // The "AdditionalItemRequests" element the reader stands on; a current request that is not
    // among them is none.
    virtual void loadItemRequests(CXmlTextReader& reader);
    virtual bool OnChildrenStateStarted(CEventNodeChildrenStateStarted& event);
    virtual bool OnButtonPressed(CEventControlClicked& event);
    bool OnUpdate(uint32_t elapsedMs) override;

    // Set-up.

    // Binds the ability children and clones the hearts, icons and (developer mode) name label.
    void OnPostSceneNodeInit(TemplateCollectionNode* templates);
    // Hearts start at the type's InitialHearts.
    void setClientData(GClientConfig* config, const GQueuedClient* queued,
                       GClientWishList* wishList);
    // Null unlinks the whole chain of followers.
    void setFollower(GClientNode* follower);
    bool isFollowerOf(const GClientNode* client) const;
    // Where a pair drop puts it; while carried, where it would land.
    void setPairLocation(GLocationNode* location);
    GLocationNode* getPairLocation() const;
    // Each follower takes the wishes it shares with its head and stands beside its leader.
    void arrangeGroup();
    // Marks served every wish no location of the level offers; false when fewer than two
    // top-level wishes are left, the tree then emptied.
    bool pruneUnservableWishes();
    CArray<CNameId> getWishedResourceNames() const;
    // The head keeps only the wishes its whole group shares.
    void filterGroupWishes();
    // The player carries it, or the head of its group.
    bool isCarried() const;

    // States and wishes.

    void setState(int32_t state);
    // Moves on to the first open wish; with none the client leaves.
    void nextWish();
    void moveToLocation(GLocationNode* location);
    // Starts the chosen wish with that resource (a choice of the action panel, button b).
    void startServing(CNameId resource, int32_t button);
    // A staff member or the hero is on the way to serve or to bring an item.
    void requestService(GCharacterNode* attendant);
    void onStaffArrived(GStaffNode* staff);
    GResourceConfig* getRequestedResource() const;
    GResourceConfig* getRequestedItem() const;
    GResourceConfig* getWishedResource() const;
    CNameId getWishedResourceName() const;
    bool canBeServedAt(const GLocationNode& location) const;
    bool isFinishingAnimation() const;
    void clearForcedAnimation();

    // Serving, hearts and payment.

    void beginService(bool force, float speed);
    bool checkItemRequest(int32_t progress, CNameId resource);
    void finishService(const GResourceConfig* resource, GClientWishList* leaf);
    // Ends the service that a speed-up item handed to the staff member.
    void finishServiceByStaff();
    void checkOut();
    // Marks served every wish before the check-out; at no hearts the wishes are dropped.
    void skipToCheckOut();
    // True when the client took the item.
    bool giveItem(GCharacterNode* giver, CNameId resource);
    void decreaseHearts(uint32_t elapsedMs, bool queueRates);
    void addHearts(float amount);
    bool hasRoomForHearts() const { return m_hearts + 0.01f < float(m_maxHearts); }
    void updateItemRotation(uint32_t elapsedMs);

    // Display.

    void playStandAnimation();
    void playMoodAnimation(bool pleased, bool force);
    void playHappyMusic();
    void setGroupHover(bool hovered);
    void updateHeartIcons();
    void setMaxHearts(int32_t count);
    BaseNode* getHeartIcon(float hearts) const;
    // Frozen heart icons keep their look while a flying heart is under way.
    void setHidden(bool frozen);
    void setKeepHeartsShown(bool keep) { m_keepHeartsShown = keep; }
    bool areHeartsFrozen() const { return m_heartsFrozen; }
    bool keepsHeartsShown() const { return m_keepHeartsShown; }
    // Quick: without loading the images again.
    void updateWishIcons(bool quick);
    void showActionPanel(bool show);
    void setItemHighlight(CNameId state);
    void updateItemHighlight(const CArray<CNameId>& carried);
    void updateBodyTint(const CArray<CNameId>& carried);
    void placeAtLocation();
    // A restored location takes the client back: linked and placed, nothing else happens.
    void linkRestoredLocation(GLocationNode& location);
    void placeAtClientPoint(const GLocationNode& location);

    int32_t getClientState() const { return m_clientState; }
    int32_t getClientStateTime() const { return m_clientStateTime; }
    GLocationNode* getLocation() const;
    GStaffNode* getStaff() const;
    GClientNode* getParentLinker() const { return m_parentLinker.get(); }
    GClientNode* getFollower() const { return m_follower.get(); }
    GCharacterNode* getComingAttendant() const { return m_comingAttendant.get(); }
    GClientConfig* getClientConfig() const { return m_clientConfig.get(); }
    // The record it was spawned from; none for a client made without the queue.
    const GQueuedClient* getQueuedClient() const { return m_queuedClient; }
    GClientWishList* getWishList() const { return m_wishList.get(); }
    GClientWishList* getCurrentWish() const { return m_currentWish; }
    // The chosen leaf of the current wish; none while none is chosen.
    GClientWishList* getChosenLeaf() const;
    int32_t getCurrentOrderIndex() const { return m_currentOrderIndex; }
    const CArray<int32_t>& getOtherOptions() const { return m_otherOptions; }
    const CArray<int32_t>& getGroupWishIndices() const { return m_groupWishIndices; }
    const CArray<ItemRequest>& getItemRequests() const { return m_itemRequests; }
    int32_t getCurrentItemRequest() const { return m_currentItemRequest; }
    int32_t getVisitedLocationCount() const { return m_visitedLocationCount; }
    float getHearts() const { return m_hearts; }
    int32_t getMaxHearts() const { return m_maxHearts; }
    float getMoney() const { return m_money; }
    float getPendingHeartsBoost() const { return m_pendingHeartsBoost; }
    void setPendingHeartsBoost(float hearts) { m_pendingHeartsBoost = hearts; }
    int32_t getTotalStaffServeTime() const { return m_totalStaffServeTime; }
    int32_t getTotalSelfServeTime() const { return m_totalSelfServeTime; }
    float getServingSpeedMul() const { return m_servingSpeedMul; }
    bool isStaffCompleting() const { return m_staffCompletes; }
    int32_t getGlowButtonIndex() const { return m_glowButtonIndex; }
    // The player chooses on its action panel.
    bool isChoosing() const { return m_choiceMode; }
    CNameId getForcedAnimation() const { return m_forcedAnimation; }
    CNameId getPendingAnimation() const { return m_pendingAnimation; }
    CNameId getPlayingAnimation() const { return m_playingAnimation; }
    CNameId getGoodbyeAnimation() const { return m_goodbyeAnimation; }
    int32_t getLifeTime() const { return m_lifeTime; }
    BaseNode* getHeartsNode() const { return m_heartsNode.get(); }
    BaseNode* getIconsNode() const { return m_iconsNode.get(); }
    BaseProgressBarNode* getProgressNode() const { return m_progressNode.get(); }
    BaseNode* getActionPanel() const { return m_actionPanel.get(); }
    TextNode* getNameLabel() const { return m_nameLabel.get(); }
    int32_t getStandAnimationsCount() const { return m_standAnimationsCount; }
    void setStandAnimationsCount(int32_t count) { m_standAnimationsCount = count; }
    // The neighbour's factor on the serving progress; 1 without one.
    void setNeighbourServingMul(float mul) { m_neighbourServingMul = mul; }

    // Talk and neighbour abilities (ClientNodeTalk.cpp). Neighbours are the clients at the
    // other locations of the level's pair areas; the arrival effects work only at locations
    // configured as "DancePad1".

    // Start: this client's talk reaches its neighbours (nothing while it is blocked); stop
    // withdraws it.
    void applyTalkActions(bool start);
    void showWaverAbility();
    void hideWaverAbility();
    void showAbilityBlocker();
    // Each neighbour is listed once; the largest value of the list applies.
    void addTalker(GClientNode* talker, float secondsPerHeart);
    void removeTalker(GClientNode* talker);
    // A cloud flies from the talker to this client, unless one is here already.
    void receiveCloudEffect(GClientNode& talker);
    void addStreetDancer(GClientNode* dancer, float multiplier);
    void removeStreetDancer(GClientNode* dancer);
    // False when the sender was listed already.
    bool addHipHop(GClientNode* sender);
    void removeHipHop(GClientNode* sender);
    bool addTecktonik(GClientNode* sender);
    void removeTecktonik(GClientNode* sender);
    // True for the first blocker, which ends this client's abilities.
    bool addAbilityBlocker(GClientNode* blocker);
    void removeAbilityBlocker(GClientNode* blocker);
    // The arrival effects on a pad: blockers, place boosts, tecktonik and street dancers.
    void activateAbilities();
    void deactivateAbilities();
    void applyStreetDancers(bool refreshOnly);
    // One of this client's orbiting "Hearts" flies to the target's heart icon; the caller adds
    // the hearts.
    void sendHearts(GClientNode& target, float amount);

    bool isTalking() const { return m_talking; }
    float getTalkSecondsPerHeart() const { return m_talkSecondsPerHeart; }
    float getNeighbourServingMul() const { return m_neighbourServingMul; }
    uint32_t getStopperCount() const { return m_stoppers.size(); }
    uint32_t getAbilityBlockerCount() const { return m_abilityBlockers.size(); }
    uint32_t getHipHopSenderCount() const { return m_hipHopSenders.size(); }
    uint32_t getTecktonikSenderCount() const { return m_tecktonikSenders.size(); }
    BaseNode* getCloudEffect() const { return m_cloudEffect.get(); }

protected:
    ~GClientNode() override = default;

private:
    // Children states played on the client: the running ones stopped first.
    void playAnimation(CNameId name);
    void playIdleVariant();
    void updateIdleTimer(uint32_t elapsedMs);
    void playWantItemAnimation();
    void playGoodbye();
    void playActionAnimation(const GResourceConfig& resource, float speed);
    void setAnimationSpeed(CNameId state, float speed);
    void playClientCue(const char* stem, bool exclusive) const;
    void playCue(CNameId name, bool exclusive) const;
    void armIdleTimer();

    CStringW queuedClientPosition() const;
    void saveItemRequests(CXmlTextWriter& writer) const;
    void loadStateElement(CXmlTextReader& reader);
    void linkRestoredLeader(GClientNode* leader);
    void loadQueuedClient(const CXmlTextReader& reader);

    void pruneWishTree(GClientWishList& node);
    void releaseWishList();
    void leaveGroup();
    void buildItemRequests(const GResourceConfig& requested, const GClientWishList& leaf);
    void colorMatchBonus(GLocationNode& location);
    void snapHearts();
    void leaveAtNoHearts();
    void finishStaffPart();
    void tickServing(uint32_t elapsedMs);
    void tickWaiting(uint32_t elapsedMs);
    void tickPaused(uint32_t elapsedMs);
    bool deliverItem(CNameId resource, CArray<CNameId>& taken);
    CVector3d textPosition() const;
    GResourceConfig* findResource(CNameId name) const;
    // What the hero carries; nothing without a hero.
    CArray<CNameId> heroCarriedItems() const;
    bool isLocationHovered() const;
    bool isGroupedWithHead() const;
    void showWishIcon(BaseNode& icon, GResourceConfig* resource, GClientWishList* leaf,
                      int32_t index, bool quick, bool item);
    // A neighbour's value: its talk's seconds per heart or its serving factor.
    struct NeighbourValue {
        GObjectRef<GClientNode> client;
        float value;
    };
    bool isType(const char* name) const;
    bool standsAtDancePad() const;
    bool canStartTalk() const;
    void talkToNeighbours(bool start);
    void setAbilityState(BaseNode* node, const char* state);
    void restartAbilitySpawners();
    void applyPlaceBoosts(const CArray<GClientNode*>& neighbours);
    void applyTecktonik(const CArray<GClientNode*>& neighbours);
    void clearNeighbourLists();
    bool addSender(CArray<GObjectRef<GClientNode>>& senders, GClientNode* sender,
                   const char* indicator);
    void removeSender(CArray<GObjectRef<GClientNode>>& senders, GClientNode* sender,
                      const char* indicator);

    int32_t m_clientState = kStateNone;
    int32_t m_clientStateTime = 0;
    GObjectRef<GLocationNode> m_location;
    GObjectRef<GStaffNode> m_staff;
    int32_t m_visitedLocationCount = 0;
    GObjectRef<GClientNode> m_parentLinker;
    GObjectRef<GClientNode> m_follower;
    GObjectRef<GLocationNode> m_pairLocation;
    CArray<int32_t> m_groupWishIndices;
    CRefPointer<GClientConfig> m_clientConfig;
    // The level's configuration, which holds the record, outlives its clients.
    const GQueuedClient* m_queuedClient = nullptr;
    CRefPointer<GClientWishList> m_wishList;
    float m_money = 0;
    float m_hearts = 0;
    int32_t m_maxHearts = 5;
    bool m_heartsFrozen = false;
    bool m_keepHeartsShown = false;
    float m_pendingHeartsBoost = 0;
    int32_t m_totalStaffServeTime = 0;
    int32_t m_totalSelfServeTime = 0;
    int32_t m_additionalStaffTime = 0;
    // A node of m_wishList.
    GClientWishList* m_currentWish = nullptr;
    int32_t m_currentOrderIndex = -1;
    CArray<int32_t> m_otherOptions;
    bool m_choiceMode = false;
    int32_t m_glowButtonIndex = -1;
    bool m_staffCompletes = false;
    GObjectRef<GCharacterNode> m_comingAttendant;
    CArray<ItemRequest> m_itemRequests;
    int32_t m_currentItemRequest = -1;
    int32_t m_rotationTimer = 0;
    bool m_itemHighlightOn = false;
    bool m_rotationWarned = false;
    bool m_requestAtStart = false;
    float m_servingSpeedMul = 1.0f;
    CRefPointer<TextNode> m_nameLabel;
    CRefPointer<BaseNode> m_iconsNode;
    CRefPointer<BaseProgressBarNode> m_progressNode;
    CRefPointer<BaseNode> m_heartsNode;
    CRefPointer<BaseNode> m_actionPanel;
    CRefPointer<BaseNode> m_abilityNode;
    CRefPointer<BaseNode> m_waverAbilityNode;
    CRefPointer<BaseNode> m_abilityBlockerNode;
    CRefPointer<BaseNode> m_cwalkAbilityNode;
    int32_t m_lifeTime = 0;
    int32_t m_idleTimer = 0;
    CNameId m_goodbyeAnimation;
    CNameId m_forcedAnimation;
    CNameId m_pendingAnimation;
    CNameId m_pendingCue;
    CNameId m_danceAnimation;
    CNameId m_lastActionAnimation;
    int32_t m_standAnimationsCount = 0;
    CNameId m_playingAnimation;
    // Fed by the talk of neighbouring clients.
    bool m_talking = false;
    CArray<GObjectRef<GClientNode>> m_stoppers;
    CArray<NeighbourValue> m_talkers;
    CArray<NeighbourValue> m_streetDancers;
    CArray<GObjectRef<GClientNode>> m_abilityBlockers;
    CArray<GObjectRef<GClientNode>> m_hipHopSenders;
    CArray<GObjectRef<GClientNode>> m_tecktonikSenders;
    float m_talkSecondsPerHeart = 0;
    float m_neighbourServingMul = 1.0f;
    CRefPointer<BaseNode> m_cloudEffect;
    bool m_stoppingStates = false;
};

// The node when it is a client, else none.
GClientNode* asGClientNode(BaseNode* node);
