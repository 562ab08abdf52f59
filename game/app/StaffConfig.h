#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "game/app/LocationResource.h"

class CXmlTextReader;

// One staff type of the object configuration ("Staff" records), the hero's too. Never changed
// after loading.
class GStaffConfig : public CRefCounted {
public:
    GStaffConfig() = default;

    // Reads the fields of the "Staff" element the reader stands on, up to its end tag.
    void load(CXmlTextReader& reader);

    CNameId name;
    CNameId templateName;
    CNameId nextLevelName;
    int32_t level = 0;
    float velocity = 250.0f;
    int32_t standAnimationsCount = 0;
    CArray<LocationResource> providedResources;

protected:
    ~GStaffConfig() override = default;
};
