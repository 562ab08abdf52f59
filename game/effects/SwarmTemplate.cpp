#include "game/effects/SwarmTemplate.h"

#include "engine/core/Logger.h"
#include "engine/core/String.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/effects/EffectMath.h"

void GSwarmTemplate::find(CNameId name, const BaseNode& owner) {
    const SceneManager* manager = owner.getSceneManager();
    findIn(name, manager != nullptr ? manager->getTemplateCollection() : nullptr);
}

void GSwarmTemplate::findIn(CNameId name, const TemplateCollectionNode* collection) {
    m_name = name;
    m_node = CRefPointer<BaseNode>::share(collection != nullptr ? collection->getTemplate(name)
                                                                : nullptr);
}

CRefPointer<BaseNode> GSwarmTemplate::cloneUnder(BaseNode& owner) const {
    CRefPointer<BaseNode> object = m_node->clone(&owner, nullptr);
    object->setVisible(true);
    object->setInternal(true);
    return object;
}

uint32_t GSwarmTemplate::drawCount(CVector2d range) {
    const int32_t count = drawIntRange(range);
    return count > 0 ? uint32_t(count) : 0;
}

uint32_t GSwarmTemplate::capped(uint32_t count, const BaseNode& owner) {
    if (count <= kMaxObjects)
        return count;
    if (!m_warned) {
        m_warned = true;
        CStringW line(owner.getTypeName());
        line.append(u" \"")
            .append(CStringW(owner.getName().toString().c_str()))
            .append(u"\": ")
            .append(count)
            .append(u" objects asked for, ")
            .append(kMaxObjects)
            .append(u" made");
        CLogger::instance()->log(line, CLogger::LevelWarning);
    }
    return kMaxObjects;
}
