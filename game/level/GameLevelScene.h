#pragma once

#include <cstdint>
#include <deque>

#include "engine/audio/SoundCue.h"
#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/core/Event.h"
#include "engine/core/ICursorControl.h"
#include "engine/core/NameId.h"
#include "engine/core/Random.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneNode.h"
#include "engine/video/VertexTypes.h"
#include "game/app/LevelConfig.h"
#include "game/app/ObjectConfigurations.h"
#include "game/level/ObjectLink.h"
#include "game/level/WalkGrid.h"

class CEventControlClicked;
class CEventSceneSwitchFinished;
class CEventSceneSwitchStarted;
class CXmlTextReader;
class CXmlTextWriter;
class GClientDragEvent;
class GClientLeaveEvent;
class GClientNode;
class GClientSpeedUpEvent;
class GClientStateEvent;
class GDropTargetEvent;
class GHeroNode;
class LocationStateEvent;
class GLocationNode;
class GMagnetMovableNode;
class GPauseGenerationEvent;
class GStaffNode;
class GTutorialScript;
class StaffEvent;
class IRenderDriver;
class IInputFile;
class IOutputFile;
class IVirtualFileSystem;
class TemplateCollectionNode;
class UpgradeCatalog;

// The play field of one level: the root of the level's scene file, shown by the gameplay screen
// and the shop. It binds the named children of its file, gives its locations their upgrades,
// colours and places, runs the level clock every 20 ms on the clock of the scene that shows it,
// closes the level when its time is up and reports when it is over. It keeps the level's money
// in six components, counted up on display toward what was earned, and the level's
// configuration, the object configuration its objects share and the walk grid on which its
// characters find their paths.
//
// Events for the screen around it travel to its parent: the level-closed event (4098) and the
// delayed ones at once, the others queued with the scene manager.
class GGameLevelScene : public NodeClass<GGameLevelScene, SceneNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1141;
    static constexpr const char16_t* kTypeName = u"GGameLevelScene";
    static constexpr uint32_t kTickMs = 20;
    // 0 check-out, 1 colour match, 2 chain bonus, 3 swap bonus, 4 recycling, 5 other.
    static constexpr int32_t kMoneyComponents = 6;
    // 0 neutral, 1 to 5 the client colours.
    static constexpr int32_t kColorCount = 6;

    // Reads the mini-games' configurations again, through the file system of the key's
    // content manager; without one they stay as they are.
    GGameLevelScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Copies only whether the missing parts of its file were reported, so that loading a level
    // and handing out its copies reports them once.
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // The clients' and staff's events; see GameLevelSceneEvents.cpp.
    static const EventMap& getEventMap();

    // Binds the named children; see the binding in GameLevelSceneSetUp.cpp.
    void OnLoaded() override;
    void focusDefaultChild() override {}

    // Each keeps a reference to the new record and drops the one it had.
    void setLevelConfig(GLevelConfig* config);
    void setObjectConfigurations(ObjectConfigurations* configs);
    GLevelConfig* getLevelConfig() const { return m_levelConfig.get(); }
    ObjectConfigurations* getObjectConfigurations() const { return m_objectConfigs.get(); }

    // Sets the default grid, then reads folder + "wgrid.bin" (the folder ends in "/") through
    // the file system of the content manager that loaded the level. False when the file does
    // not open, or is refused; the default grid then stays.
    bool loadWalkGrid(const CStringW& folder);
    // Writes "assets/levels/setting<SettingIndex>/wgrid.bin" below the folder the program
    // started in (contentBasePath), whose "assets" the content mounts: into a new file first,
    // which then replaces the old one, so that a failure never leaves half a grid. A failure
    // is logged and answers false.
    bool saveWalkGrid();
    WalkGrid& getWalkGrid() { return m_walkGrid; }

    // The saved level (GameLevelSceneSave.cpp): a snapshot that a level built afresh restores.

    // Writes folder + "/save.dat" through a new file that then replaces the old one; a failure
    // is logged and answers false.
    bool writeSaveFile(const CStringW& folder);
    // Restores folder + "/save.dat"; false when it does not open.
    bool readSaveFile(const CStringW& folder);
    void save(CXmlTextWriter& writer);
    // Reads up to the end of "SaveData". Values out of range are kept within it, references
    // that find nothing stay empty, and tasks at no location are dropped.
    void load(CXmlTextReader& reader);
    // Each reads the element the reader stands on, up to its end.
    void loadClients(CXmlTextReader& reader);
    void loadTrackedClients(CXmlTextReader& reader);
    void loadStaffStates(CXmlTextReader& reader);
    void loadAppearLocationStates(CXmlTextReader& reader);
    void loadLocationStates(CXmlTextReader& reader);

    // Play.

    // 0 while the level is played, 1 while the shop only shows it (the tick then does nothing).
    // Also moves the tick onto the clock of the scene that shows the level.
    void setMode(int32_t mode);
    int32_t getMode() const { return m_passiveMode; }
    // Back to the start of the day, keeping the upgrades. False marks a restart, after which
    // the gameplay screen shows no briefing. A credit still waiting is paid after the reset.
    void reset(bool fresh);
    // Stops the day's clock and closing; credits and the money display go on.
    void setClientGenerationPaused(bool paused) { m_paused = paused; }
    bool isPaused() const { return m_paused; }
    bool OnUpdate(uint32_t elapsedMs) override;
    // Delivers the event to the parent once the delay has passed (in the first tick for 0 or
    // less). False, keeping the first delay, when the same event waits already.
    bool postEventDelayed(CEvent& event, int32_t delayMs);

    bool isClosed() const { return m_closed; }
    bool isFinishedPosted() const { return m_finishedPosted; }
    // The screen ended the level, perhaps before the day was over: from now on it counts as
    // finished and posts no finished event of its own, until the next reset.
    void onLevelFinished() { m_finishedPosted = true; }
    bool isRestarted() const { return m_restarted; }
    int32_t getElapsedMs() const { return m_elapsedMs; }
    int32_t getClosingClockMs() const { return m_closingClockMs; }
    int32_t getServedClients() const { return m_servedClients; }
    int32_t getLostClients() const { return m_lostClients; }
    float getHeartsTotal() const { return m_heartsTotal; }

    // Set-up from the shop's purchases.

    // Locations, staff, then the environment.
    void applyUpgrades(const UpgradeCatalog* catalog, bool preview);
    // Each location takes its slot's current upgrade as template and configuration (hidden and
    // disabled without one) and its colour from the level's location types. While the level
    // is played, the third drinks machine and the third sandwich machine take over the places
    // of their older ones.
    void applyLocationUpgrades(const UpgradeCatalog* catalog);
    // The current upgrades of the slots "Up1" to "Up6" name states of the background's children.
    void applyEnvironmentUpgrades(const UpgradeCatalog* catalog);
    // The bought dance pads take the middle places of the layout for their number, and the walk
    // grid is stamped again with the regions of every location.
    void layoutDancePads();
    // The hero from the slot "Hero", the masseur and the fitness trainer from theirs (the shop's
    // preview shows a slot's next upgrade while it has none); without a catalogue those that
    // the level's configuration names. Each replaces the one there was, and all take their
    // templates.
    void setupStaff(const UpgradeCatalog* catalog, bool preview);
    // The empty name is "Hero1". A missing configuration or template, or one of another kind,
    // makes none; the old one is gone all the same.
    void createHero(CNameId name);
    // Only at a place that no client takes.
    void createMasseur(CNameId name);
    void createFitnessTrainer(CNameId name);
    GHeroNode* getHero() const;
    const CArray<GObjectRef<GStaffNode>>& getStaff() const { return m_staff; }

    // Work for the hero and the staff.

    // A client waiting for service goes to the first staff member that can serve it there;
    // otherwise, when allowed, the hero fetches the item it wants or comes to its location.
    // False when nobody is sent.
    bool serveClient(GClientNode& client, bool allowHero);
    // The hero's task at the location by what the location is: recharge, fetch, serve the
    // client nearest to the pointer, or deliver. False when there is nothing to do there.
    bool sendHeroToLocation(GLocationNode& location);

    // Money.

    // With an empty text the whole part of the amount is earned at once; with a text the screen
    // is told (4103) and credits the amount itself. 0 does nothing.
    void addMoney(float amount, int32_t component, const CVector3d& position, const CStringW& text);
    // Earned now for a delay of 0 or less, else once the delay has passed.
    void addMoneyDelayed(int32_t component, int32_t amount, int32_t delayMs);
    // The money on display of a component; from kMoneyComponents on, the total (0 when below).
    float getMoney(int32_t component) const;
    // 0 below "TargetMoney", then 1, 2 from the expert and 3 from the master target.
    int32_t getRankForMoney(float amount) const;
    int32_t getRank() const { return m_rank; }
    // A service of the resource continues the chain of its chain type or starts a new one; the
    // level's chain bonus pays for every service of a chain after the first.
    void addChainBonus(CNameId resource, const CVector3d& position);
    CNameId getChainType() const { return m_chainType; }
    int32_t getChainSize() const { return m_chainSize; }

    // Queries of the level's objects.

    // The client colours; any other index gives one of the six at random.
    static CColor getColorValue(int32_t color);
    const CArray<CRefPointer<GLocationNode>>& getLocations() const { return m_locations; }
    // The first location that offers the resource.
    GLocationNode* findLocationOffering(const GResourceConfig& resource) const;
    // The first location whose configuration provides the resource, when the resource it is
    // made from is offered somewhere.
    GLocationNode* findLocationProducing(const GResourceConfig& resource) const;
    // The character of that name among the level's characters, when it is a client.
    GClientNode* findClient(CNameId name) const;
    // The hero when it has that name, else the first staff member with it.
    GStaffNode* findStaff(CNameId name) const;
    // The appear locations of that name, or all for the empty name.
    CArray<GLocationNode*> getAppearLocations(CNameId name) const;
    const CArray<CRefPointer<GLocationNode>>& getQueueSlots() const { return m_queueSlots; }
    BaseNode* getBackground() const { return m_background.get(); }
    BaseNode* getEffectsHolder() const { return m_effectsHolder.get(); }
    // Plays through the engine's sound player; none without one.
    CRefPointer<SoundCue> playCue(CNameId name, bool exclusive) const;
    CRandom& getRandom() const { return *m_random; }

    // The client queue (GameLevelSceneQueue.cpp).

    // What became of one entry of the queue: its clients are made before the day starts; once
    // armed it counts down (ms) and then enters the queue's front. The clients that entered
    // are held weakly (none where one did not enter or has left).
    struct SpawnRecord {
        bool spawned = false;
        // -1 while not armed; below 0 once due.
        int32_t countdown = -1;
        CArray<GObjectRef<GClientNode>> enteredClients;
        CArray<CRefPointer<GClientNode>> createdClients;
        CArray<CNameId> clientNames;
    };

    // One record for each entry, with its clients made from the collection's template of their
    // type; an entry whose type or template cannot make clients stays empty, with a warning.
    // The level keeps its own copy of the entries, which arms the records and which the clients
    // read their queued data from, so a queue of a tutorial may go before its clients do.
    void spawnQueuedClients(CArray<GClientQueueEntry>& entries, TemplateCollectionNode* templates);
    // Arms the first entries from the start.
    void armClientQueue() { armClientQueueFor(nullptr, true, false, false); }
    // Arms every entry that is ready: after the previous one has come (when asked), or when
    // the client it watches begins (or ends) one of its actions with the client's current wish
    // (or requested item), has left or never came.
    void armClientQueueFor(GClientNode* client, bool afterPrevious, bool endActions,
                           bool currentItem);
    // The record's clients enter at the slot: the first that enters stands on it and leads
    // the others. False when none entered or the record cannot be placed.
    bool placeQueuedClient(GLocationNode* front, uint32_t record);
    // Forward: every client after a gap moves a slot toward the front. Backward: the clients
    // before the first gap move a slot back, freeing the front.
    void shiftQueue(bool backward);
    // A configured colour 1 to 5 as it is; otherwise one of the level's colours that the fewest
    // clients wear, drawn among equals.
    int32_t chooseClientColor(int32_t configured) const;
    // While set the tutorial drives the queue: armed entries come at once and client events
    // arm nothing.
    void setTutorialQueueMode(bool on) { m_tutorialQueueMode = on; }
    bool isTutorialQueueMode() const { return m_tutorialQueueMode; }
    // The script of the tutorial running in the level, none once it ends; the level keeps it
    // alive meanwhile. While there is one, clients lose no hearts.
    void setTutorial(GTutorialScript* script);
    bool hasTutorial() const { return bool(m_tutorial); }
    // The client's place in the records is empty from now on.
    void forgetEnteredClient(const GClientNode* client);
    const CArray<SpawnRecord>& getSpawnRecords() const { return m_spawnRecords; }
    // The entries of the records: the last queue spawned, else the level file's. Earlier ones
    // stay, as their clients may still be in the level.
    const CArray<GClientQueueEntry>& queueEntries() const;
    // Every queued client and its group, but those leaving, gains the hearts; the queue box
    // plays while the music is lowered. True.
    bool boostQueuedClients(GLocationNode* location, float hearts);
    // The saddest client at a location (drawn among equals) gains the hearts; one of the
    // location's orbiting hearts flies to its heart icon. False when no client has room.
    bool giveBoomboxHeart(GLocationNode* location, float hearts);
    // Both of the above. True.
    bool queueBoxAction(GLocationNode* location, float hearts);
    // A heart taken out of an orbiting swarm flies on a magnet in the effects holder to the
    // client's heart icon, launched with the velocity; the client's icons keep their look until
    // it arrives. None without a heart or an effects holder.
    GMagnetMovableNode* flyHeart(const CRefPointer<BaseNode>& heart, GClientNode& client,
                                 BaseNode& icon, CVector2d launch);
    // Objects bought in the shop, introduced one by one at the start; a masseur and its table
    // count as one, the masseur.
    void queueNewlyOpened(CNameId name);
    // The first and off the list; the empty name when none is left.
    CNameId popQueuedLocation();

    // The player's mouse (GameLevelSceneInput.cpp). While the level is played it reads the
    // mouse before its children: a waiting client is picked up with its group, carried under
    // the pointer and dropped on a location that offers what it wants, on two neighbouring
    // locations at once, or in exchange for the client waiting there.

    // Two neighbouring locations and the rectangle that covers both, in the level's frame.
    struct PairArea {
        CRefPointer<GLocationNode> first;
        CRefPointer<GLocationNode> second;
        float minX;
        float minY;
        float maxX;
        float maxY;
    };

    bool sendToChildren(int32_t mode, CEvent& event) override;
    // A click on a location or a client: a pick-up, a drop (dropping by click) or work for the
    // hero.
    bool OnButtonPressed(CEventControlClicked& event);
    bool onClientDrag(GClientDragEvent& event);
    bool onDropTarget(GDropTargetEvent& event);
    // A location that is ready again may now take half of the carried pair.
    bool onLocationState(LocationStateEvent& event);
    bool OnSceneSwitch(CEventSceneSwitchStarted& event);
    // Back from a mini-game, the clients that arrived meanwhile act.
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event);
    // What a client does once put on a location.
    void startClientAction(GLocationNode& location, GClientNode& client);
    // Marks the locations that can take the carried client and offer one of its wishes.
    void highlightDropTargets(bool on);
    // Marks the locations the carried group would land on; off ends every mark.
    void highlightChosenTargets(bool on);
    void buildPairAreas();
    // The clients at the other location of every pair area that holds the client's location.
    CArray<GClientNode*> getNeighbourClients(const GClientNode& client) const;
    GClientNode* getHeldClient() const { return m_heldClient.get(); }
    GClientNode* getGrabbedClient() const { return m_grabbedClient.get(); }
    const CArray<PairArea>& getPairAreas() const { return m_pairAreas; }
    int32_t getCurrentPairArea() const { return m_currentPairArea; }

    // The wish list of a client that comes with these orders: under the root one group per
    // wave of the orders' resources, waves in ascending order, one leaf per order with its
    // enabled items, then the leaf "CheckOut". Orders of resources without a configuration are
    // left out; without any other the root stays empty. The caller owns the one reference.
    CRefPointer<GClientWishList> buildWishList(const CArray<GClientOrder>& orders) const;

    // The walk-grid editor of the developer mode (GameLevelSceneEditor.cpp). F1 cycles its
    // modes: 0 off, 1 the grid shown, 2 the grid and the region of the location picked with the
    // middle button, painted with the left button and erased with the right. F2 writes the grid
    // in modes 1 and 2. While it is on, the mouse picks no client up and gives the hero no work.

    bool OnKeyUp(CEventInputKeyUp& event) override;
    int32_t getEditorMode() const;
    GLocationNode* getEditorLocation() const;
    // Gives the cell of the point (in the level's frame) the weight in the region of the picked
    // location's template; 0 takes the cell out. Nothing without a grid, or for a cell more than
    // 127 cells from the location's own.
    void paintRegionCell(const CVector3d& point, uint8_t weight);
    // With the editor on, the level is one more entry, which draws the overlays over the rest.
    void collectDrawables(RenderList& list) override;
    void render(IRenderDriver* driver, const CRect* clip) override;

protected:
    ~GGameLevelScene() override = default;

private:
    struct DelayedCredit {
        int32_t component;
        int32_t amount;
        int32_t remainingMs;
    };
    struct DelayedEvent {
        CRefPointer<CEvent> event;
        int32_t remainingMs;
    };

    bool onPauseGeneration(GPauseGenerationEvent& event);
    bool onClientState(GClientStateEvent& event);
    bool onClientSpeedUp(GClientSpeedUpEvent& event);
    bool onClientLeave(GClientLeaveEvent& event);
    bool onStaffEvent(StaffEvent& event);
    // Served when it leaves with hearts, else lost.
    void countLeavingClient(const GClientNode& client);

    // A staff member of a kind from its configuration and template, named and placed.
    GStaffNode* hireStaff(CNameId name, uint32_t kind, const char* nodeName);
    // Out of the level, no location keeping a link to it.
    void dismiss(GStaffNode* member);
    // The pointer in the level's coordinates.
    CVector3d cursorPoint() const;

    IVirtualFileSystem* getFileSystem() const;
    // Writes folder/name whole or not at all; a failure is logged, naming what was saved.
    bool writeThroughNewFile(const CStringW& folder, const char16_t* name, const char16_t* what,
                             IInputFile& content) const;
    static bool failSave(const char16_t* what, const CStringW& path, const char16_t* reason);
    static bool copyFile(IInputFile& input, IOutputFile& output);
    void saveTrackedClients(CXmlTextWriter& writer) const;
    void loadElement(CXmlTextReader& reader);
    void loadMoney(const CArray<int>& amounts);
    void loadClient(CXmlTextReader& reader);
    // The client takes the place its name has in the spawn records.
    void relinkTrackedClient(GClientNode& client);
    void loadLocationState(CXmlTextReader& reader, GLocationNode* location);
    void bindAppearLocations(BaseNode* holder);
    void bindLocations(BaseNode* holder);
    void reportMissingParts();
    void moveTickToSceneClock();
    void deliverDelayedEvents(uint32_t elapsedMs);
    // The day's clock; true when the level may finish in this tick.
    bool runDay(uint32_t elapsedMs);
    void close();
    // Nobody is left to serve, nothing to clean and the hero carries no garbage away.
    bool isEmpty() const;
    bool creditDelayedMoney(uint32_t elapsedMs);
    bool animateMoney(uint32_t elapsedMs);
    bool isMoneyComponent(int32_t component, const char* operation) const;
    void payChainBonus(const CVector3d& position);
    void reportAward(int32_t award, int32_t progress);
    // Counts the armed records down and lets the due ones in; true while one has yet to come.
    bool spawnDueClients(uint32_t elapsedMs);
    bool isEntryReady(uint32_t record, GClientNode* client, bool afterPrevious, bool endActions,
                      bool currentItem) const;
    GClientNode* slotClient(uint32_t slot) const;
    bool hasQueueGap() const;
    void moveAlongQueue(GClientNode& client, uint32_t slot);
    void restoreMusicAfterQueueBox();
    uint32_t realTimeMs() const;
    void flyBoomboxHeart(GLocationNode* location, GClientNode& client, float hearts);

    static constexpr int32_t kNoCursor = -1000;
    bool onMouseLeftDown(const CEventInputMousePosition& event);
    bool onMouseMove(const CEventInputMousePosition& event);
    bool onMouseLeftUp(const CEventInputMousePosition& event);
    bool onMouseRightDown();
    // Hands the level's own drag and drop event to its receiver at once.
    bool deliverOwn(CEvent* event);
    // The client the level acts on when this one is hit: the head of its group.
    GClientNode* actingClient(GClientNode& hit) const;
    GLocationNode* locationAt(const CEventInputMousePosition& event) const;
    // The screen point in the level's frame.
    CVector3d toLevel(int32_t x, int32_t y) const;
    bool isCurrentScene() const;
    bool dragsViaClick() const;
    // The pointer in window pixels: where the last mouse event was, else the cursor's place.
    ICursorControl::Point pointer() const;
    void addPairArea(const char* first, const char* second);
    // The carried group's places over two neighbouring locations; false when it fits none.
    bool findPairPlacement(const CVector3d& point, GClientNode* (&members)[2],
                           GLocationNode* (&targets)[2]);
    bool previewPairPlacement(const CVector3d& point);
    void placeSingle(GLocationNode& location, GClientNode& client);
    void placePair();
    bool swapWith(GLocationNode& location);
    void returnHeldClient();
    // The client stops being carried and can be hit again.
    void releaseHeldClient();
    void serveAtOnce(GClientNode& client);

    void editRegion(const CEventInputMousePosition& event);
    CVertex overlayVertex(float x, float y, CColor color) const;
    static void drawOverlay(IRenderDriver& driver, const CArray<CVertex>& vertices,
                            uint32_t primitiveType, uint32_t primitiveCount);
    void drawGridOverlay(IRenderDriver& driver);
    void drawRegionOverlay(IRenderDriver& driver);

    int32_t m_passiveMode = 0;
    bool m_paused = false;
    bool m_closed = false;
    bool m_finishedPosted = false;
    bool m_restarted = false;
    bool m_missingPartsReported = false;
    int32_t m_rank = 0;
    int32_t m_servedClients = 0;
    int32_t m_lostClients = 0;
    float m_displayedMoney[kMoneyComponents] = {};
    float m_money[kMoneyComponents] = {};
    float m_heartsTotal = 0;
    CArray<DelayedCredit> m_delayedCredits;
    int32_t m_elapsedMs = 0;
    // Once no client waits to come, the rest of the day passes on this clock too, 100 times as
    // fast.
    int32_t m_closingClockMs = 0;
    WalkGrid m_walkGrid;
    CRefPointer<CRandom> m_random;
    CRefPointer<GLevelConfig> m_levelConfig;
    CRefPointer<ObjectConfigurations> m_objectConfigs;

    // The named children, held so that one that leaves the tree cannot leave them dangling.
    CArray<CRefPointer<GLocationNode>> m_queueSlots;
    CArray<CRefPointer<GLocationNode>> m_masseurPlaces;
    CRefPointer<GLocationNode> m_fitnessPlace;
    CRefPointer<GLocationNode> m_heroPlace;
    CRefPointer<BaseNode> m_appearLocations;
    CRefPointer<BaseNode> m_charactersNode;
    CRefPointer<BaseNode> m_locationsNode;
    CArray<CRefPointer<GLocationNode>> m_locations;
    CRefPointer<BaseNode> m_background;
    CRefPointer<BaseNode> m_sandwichArt;
    CRefPointer<BaseNode> m_envUpgradeButtons;
    CRefPointer<BaseNode> m_effectsHolder;

    CArray<DelayedEvent> m_delayedEvents;
    // Links only: the characters belong to "CharactersNode".
    GObjectRef<GHeroNode> m_hero;
    CArray<GObjectRef<GStaffNode>> m_staff;
    CNameId m_chainType;
    int32_t m_chainSize = 0;

    std::deque<CArray<GClientQueueEntry>> m_queues;
    CArray<SpawnRecord> m_spawnRecords;
    bool m_tutorialQueueMode = false;
    CRefPointer<CRefCounted> m_tutorial;
    CArray<CNameId> m_newlyOpened;
    CRefPointer<SoundCue> m_queueBoxSound;

    // The carried group's head, and the member the pointer took.
    CRefPointer<GClientNode> m_heldClient;
    CRefPointer<GClientNode> m_grabbedClient;
    CVector3d m_dragOffset;
    // The pointer at the pick-up, until it first moves.
    int32_t m_lastCursorX = kNoCursor;
    int32_t m_lastCursorY = kNoCursor;
    CArray<PairArea> m_pairAreas;
    int32_t m_currentPairArea = -1;
    CArray<CRefPointer<GClientNode>> m_deferredClients;
    ICursorControl::Point m_pointer;
    bool m_pointerKnown = false;

    int32_t m_editorMode = 0;
    CRefPointer<GLocationNode> m_editorLocation;
    // 0 not painting, 1 painting with the left button, 2 erasing with the right.
    int32_t m_editorPaint = 0;
};
