#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/effects/PathSet.h"

class BaseNode;
class IVirtualFileSystem;

// The map's ambient traffic: scooters on the sea, a plane among the birds, pedestrians and cars,
// each group spawned on its own random timer from the templates of the map's template
// collection onto a path of its paths file, and the streets filled with pedestrians whenever
// the map arrives. The map owns it beside its tree; the movers, once started, remove
// themselves at their path's end.
class GMapTraffic {
public:
    // In the order the groups spawn in an update, and draw their random numbers.
    enum EGroup : uint32_t {
        GROUP_SCOOTERS,
        GROUP_PLANE,
        GROUP_PEDESTRIANS,
        GROUP_CARS,
        GROUP_COUNT,
    };

    GMapTraffic();

    // Takes the groups' parents, "Sea", "Birds", "Human" and "Cars", among the direct children
    // of the map's "Bg"; a group without its parent (or without "Bg") never spawns.
    void bind(BaseNode* bg);
    // Reads the groups' paths files; a file that cannot be opened leaves its group empty.
    void loadPaths(IVirtualFileSystem& files);
    // Counts every group's timer down; a group whose timer falls below 0 draws a new one and
    // spawns a mover from the template collection of the scene manager its parent is in. The
    // first update with time passing spawns one of each group that has paths.
    void update(uint32_t elapsedMs);
    // 40 pedestrians on random paths, each already advanced 5 to 100 seconds along its path.
    void placeInitialPedestrians();

    GPathSet& getPaths(EGroup group) const { return *m_groups[group].paths; }
    BaseNode* getParent(EGroup group) const { return m_groups[group].parent; }

    static constexpr int32_t kInitialPedestrians = 40;

private:
    struct Group {
        BaseNode* parent = nullptr;
        CRefPointer<GPathSet> paths{new GPathSet()};
        int32_t countdown = 0;
    };

    // The mover copied from the named template into the group's parent and shown; none when
    // the template is missing or not of the kind.
    BaseNode* spawn(EGroup group, CNameId templateName, uint32_t kind) const;
    // Draws the group's next timer and its mover's numbers, and spawns it.
    void spawnNext(EGroup group);
    void spawnScooter();
    void spawnPlane();
    void spawnPedestrian();
    void spawnCar();
    // The path at an index drawn from the group's set.
    GPath* drawPath(EGroup group) const;

    Group m_groups[GROUP_COUNT];
};
