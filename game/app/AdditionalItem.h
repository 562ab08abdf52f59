#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"

// A span of milliseconds of a client's service, both ends as read.
struct GTimeRange {
    int32_t from = 0;
    int32_t to = 0;

    bool operator==(const GTimeRange& other) const = default;
};

// An extra item a client may ask for while it is served a resource.
struct GAdditionalItem {
    CNameId name;
    CArray<int32_t> modifications;
    GTimeRange timeRange;
    float probability = 1.0f;
};
