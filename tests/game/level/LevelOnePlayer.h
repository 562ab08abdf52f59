#pragma once

#include <memory>
#include <set>
#include <string>

#include "game/level/ClientNode.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// A good player of level 1 of the game's content, as a script of the harness: it takes the
// first waiting client of the queue to a free pad, its own colour's if free, and clicks each
// client once when it waits at the check-out; by dragging or by clicks.
namespace level_one_player {

inline GLocationNode* pad(const LevelHarness& harness, const char* name) {
    return asGLocationNode(harness.node(name));
}

inline GClientNode* firstInQueue(const LevelHarness& harness) {
    const CArray<CRefPointer<GLocationNode>>& slots = harness.level().getQueueSlots();
    if (slots.size() == 0 || slots[0]->getClients().size() == 0)
        return nullptr;
    GClientNode* client = asGClientNode(slots[0]->getClients()[0].get());
    return client != nullptr && client->getClientState() == GClientNode::kStateWaiting ? client
                                                                                       : nullptr;
}

inline void install(LevelHarness& harness, bool viaClick) {
    auto clicked = std::make_shared<std::set<std::string>>();
    harness.player = [&harness, viaClick, clicked](uint32_t) {
        for (const char* name : {"DancePad1", "DancePad2"}) {
            GLocationNode* location = pad(harness, name);
            if (location == nullptr || location->getClients().size() == 0)
                continue;
            GClientNode* client = asGClientNode(location->getClients()[0].get());
            if (client != nullptr && client->getClientState() == GClientNode::kStateAtCheckOut &&
                clicked->insert(client->getName().toString().c_str()).second) {
                harness.click(*client);
                return;
            }
        }
        GClientNode* client =
            harness.level().getHeldClient() == nullptr ? firstInQueue(harness) : nullptr;
        if (client == nullptr)
            return;
        GLocationNode* target = nullptr;
        for (const char* name : {"DancePad1", "DancePad2"}) {
            GLocationNode* location = pad(harness, name);
            if (location == nullptr || location->hasClients())
                continue;
            if (target == nullptr || location->getColor() == client->getColor())
                target = location;
        }
        if (target == nullptr)
            return;
        if (viaClick) {
            harness.click(*client);
            harness.click(*target);
        } else {
            harness.press(*client);
            harness.moveTo(*target);
            harness.release(*target);
        }
    };
}

} // namespace level_one_player
