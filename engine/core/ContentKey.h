#pragma once

#include <cstdint>

#include "engine/core/PropertyContent.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class CContentManager;

// Identity of a loaded scene, node or content object: the content manager that loaded it
// (none for objects made in code, and none again once that manager is gone) and its name
// interned in the wide name table.
class CContentKey {
public:
    // No owner and the empty name.
    CContentKey() = default;
    CContentKey(CContentManager* owner, const CStringW& name);

    CContentManager* getOwner() const;
    int32_t getNameId() const { return m_nameId; }
    // The empty string when the table does not hold the id.
    const CStringW& getName() const;

    bool operator==(const CContentKey& other) const = default;

private:
    CRefPointer<CContentSourceLink> m_owner;
    int32_t m_nameId = -1;
};
