#include "engine/core/ContentKey.h"

#include "engine/core/NameId.h"
#include "engine/io/ContentManager.h"

CContentKey::CContentKey(CContentManager* owner, const CStringW& name)
    : m_owner(linkOf(owner)), m_nameId(CNameTableW::instance().intern(name)) {}

// Only content managers make keys with an owner, so the link names one.
CContentManager* CContentKey::getOwner() const {
    return static_cast<CContentManager*>(sourceOf(m_owner));
}

const CStringW& CContentKey::getName() const {
    return CNameTableW::instance().getText(m_nameId);
}
