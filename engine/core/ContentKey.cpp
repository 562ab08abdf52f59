#include "engine/core/ContentKey.h"

#include "engine/core/NameId.h"

CContentKey::CContentKey(CContentManager* owner, const CStringW& name)
    : m_owner(owner), m_nameId(CNameTableW::instance().intern(name)) {}

const CStringW& CContentKey::getName() const {
    return CNameTableW::instance().getText(m_nameId);
}
