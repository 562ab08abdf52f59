#pragma once

#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"

class GObjectNode;

// A weak handle on a game object, shared by whoever keeps the object without owning it (a
// client's location, a staff member's client, an effect's magnet): the object clears it as it
// is destroyed, so a late look through it finds no object instead of freed memory.
class GObjectLink : public CRefCounted {
public:
    explicit GObjectLink(GObjectNode* object) : m_object(object) {}

    GObjectNode* get() const { return m_object; }
    void clear() { m_object = nullptr; }

private:
    GObjectNode* m_object;
};

// A weak reference to a game object of a known class, kept through the object's link: it reads
// none once the object is gone.
template <typename Object>
class GObjectRef {
public:
    GObjectRef() = default;
    GObjectRef(Object* object) : m_link(object != nullptr ? object->getLink() : nullptr) {}

    Object* get() const { return m_link ? static_cast<Object*>(m_link->get()) : nullptr; }
    Object* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    CRefPointer<GObjectLink> m_link;
};
