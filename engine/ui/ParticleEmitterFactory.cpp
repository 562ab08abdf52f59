#include "engine/ui/ParticleEmitterFactory.h"

#include "engine/ui/PointEmitter.h"
#include "engine/ui/RectangleEmitter.h"

namespace {

template <typename Emitter>
CRefPointer<BaseEmitter> create(const CContentKey& key) {
    return CRefPointer<BaseEmitter>(new Emitter(key));
}

} // namespace

CParticleEmitterFactory::CParticleEmitterFactory() {
    registerEmitterType(u"PointEmitter", &create<PointEmitter>);
    registerEmitterType(u"RectangleEmitter", &create<RectangleEmitter>);
}

void CParticleEmitterFactory::registerEmitterType(const CStringW& typeName, Creator creator) {
    if (creator)
        m_creators.insert(typeName, creator);
}

CRefPointer<BaseEmitter> CParticleEmitterFactory::createEmitter(const CStringW& typeName,
                                                                const CContentKey& key) const {
    const auto found = m_creators.find(typeName);
    return found == m_creators.end() ? nullptr : found->value(key);
}
