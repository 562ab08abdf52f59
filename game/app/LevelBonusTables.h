#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// The money for a completed chain of one chain type, per client of the chain.
struct GChainBonus {
    CNameId name;
    // A dictionary text shown with the bonus.
    CString text;
    float money = 0;
};

// Hearts for a client of one type placed next to a client of another.
struct GNextClientPlaceBoost {
    CNameId name1;
    CArray<CNameId> name2;
    float hearts1 = 0;
    float hearts2 = 0;
    float probability = 0;
};

// The tables that every level of one level list shares. A level keeps the tables it was read
// with, so clearing the list leaves levels still held with their own.
class GLevelBonusTables : public CRefCounted {
public:
    GLevelBonusTables() = default;

    CMap<CNameId, GChainBonus> chainBonuses;
    CArray<GNextClientPlaceBoost> nextClientPlaceBoosts;

protected:
    ~GLevelBonusTables() override = default;
};
