#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "game/app/ClientQueue.h"
#include "game/app/LevelBonusTables.h"
#include "game/app/LevelConfig.h"

class CProperties;
class CXmlTextReader;
class GWishListOrders;
class IVirtualFileSystem;
class ObjectConfigurations;

// The level list: every level of the game in file order, with the chain bonuses and the
// next-client-place boosts that the levels share.
class LevelsConfiguration : public CRefCounted {
public:
    // The orders and their items that the queues of one document may make from wish lists
    // together.
    static constexpr uint32_t kMaxQueueOrders = 262144;

    LevelsConfiguration();

    // "levels/common/LevelConfigsEasy.xml" when the profile's "PlayerDifficulty" is not 0,
    // else "levels/common/LevelConfigs.xml".
    static CStringW fileName(const CProperties& profile);
    // Reads the file of the profile's difficulty; false when it does not open.
    bool loadFile(IVirtualFileSystem& fileSystem, const CProperties& profile,
                  const ObjectConfigurations* configurations);
    // Appends the levels of the document and adds its bonuses and boosts to the shared tables.
    void load(CXmlTextReader& reader, const ObjectConfigurations* configurations);
    // Releases every level and starts new, empty shared tables: a reload must not keep the
    // bonuses and boosts of the files read before.
    void clear();

    // Replaces the entries by those of the "ClientsQueue" element the reader stands on; wish
    // lists are looked up in the configurations.
    static void parseClientsQueue(CArray<GClientQueueEntry>& entries, CXmlTextReader& reader,
                                  const ObjectConfigurations* configurations);
    // The same, taking the orders of wish lists from those the caller shares between queues.
    static void parseClientsQueue(CArray<GClientQueueEntry>& entries, CXmlTextReader& reader,
                                  GWishListOrders& wishListOrders);

    uint32_t getLevelCount() const { return m_levels.size(); }
    // The level at a position from 0; none out of range.
    GLevelConfig* getLevel(int32_t position) const;
    const GLevelBonusTables& getBonusTables() const { return *m_bonusTables; }

protected:
    ~LevelsConfiguration() override = default;

private:
    static CRefPointer<GLevelConfig> parseLevel(CXmlTextReader& reader,
                                                GWishListOrders& wishListOrders);
    void parseChainBonuses(CXmlTextReader& reader);
    void parseNextClientPlaceBoosts(CXmlTextReader& reader);

    float m_swapBonus = 10.0f;
    int32_t m_superDanceClickWaitTime = 5000;
    CRefPointer<GLevelBonusTables> m_bonusTables;
    CArray<CRefPointer<GLevelConfig>> m_levels;
};
