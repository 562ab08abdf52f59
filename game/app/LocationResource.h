#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"

class CXmlTextReader;

// A resource that a location or a staff member provides, with its stock.
struct LocationResource {
    CNameId name;
    int32_t initialAmount = -1;
    // 0 or less: the stock is unlimited.
    int32_t maxAmount = -1;
    // Starts at the initial amount.
    float amount = 0;
};

// How a "ProvidedResources" list fills in the amounts its entries leave out.
struct LocationResourceDefaults {
    int32_t maxAmount;
    // An initial amount of -1 (given or left out) takes the maximum amount.
    bool initialFromMax;
};

// Appends one entry per "Resource" inside the "ProvidedResources" element the reader stands on.
void readProvidedResources(CXmlTextReader& reader, CArray<LocationResource>& resources,
                           LocationResourceDefaults defaults);
