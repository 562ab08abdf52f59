#pragma once

#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/ui/BaseEmitter.h"

// Makes emitters by their class name, as particle collection files name them. An engine
// service; it takes no events.
class CParticleEmitterFactory : public CEventReceiver {
public:
    // A new emitter with one reference, or none.
    using Creator = CRefPointer<BaseEmitter> (*)(const CContentKey& key);

    // Knows "PointEmitter" and "RectangleEmitter"; the base class is not made by name.
    CParticleEmitterFactory();

    // A name already known keeps its first creator.
    void registerEmitterType(const CStringW& typeName, Creator creator);
    // None for a name that is not registered (names compare exactly, case included).
    CRefPointer<BaseEmitter> createEmitter(const CStringW& typeName, const CContentKey& key) const;

protected:
    ~CParticleEmitterFactory() override = default;

private:
    CMap<CStringW, Creator> m_creators;
};
