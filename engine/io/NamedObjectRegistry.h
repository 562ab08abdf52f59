#pragma once

#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

// Reference-counted objects by name, kept for the life of the engine services. Its entries are
// released with it.
class CNamedObjectRegistry : public CEventReceiver {
public:
    CNamedObjectRegistry() = default;

protected:
    ~CNamedObjectRegistry() override = default;

private:
    CMap<CString, CRefPointer<CRefCounted>> m_objects;
};
