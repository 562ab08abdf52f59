#include "engine/ui/ParticleCollection.h"

#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/ui/ParticleEmitterFactory.h"

ParticleCollection::ParticleCollection(const CContentKey& key) : CContent(key) {
    setHandOutMode(kNeverCached);
}

void ParticleCollection::readXml(CXmlTextReader& reader) {
    clear();
    CContentManager* manager = getContentKey().getOwner();
    const CParticleEmitterFactory* factory =
        CEngineServices::instance()->getParticleEmitterFactory();
    if (!manager || !factory)
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader.nodeName() == u"ParticleCollection")
            return;
        if (kind != CXmlTextReader::kElement || !(reader.nodeName() == u"ParticleEmitter"))
            continue;
        const CRefPointer<BaseEmitter> emitter =
            factory->createEmitter(reader.getAttribute(u"Type"), CContentKey(manager, u""));
        if (!emitter)
            continue;
        emitter->readXml(reader);
        if (emitter->getName().isEmpty())
            continue;
        manager->addToCacheAs(CContentKey(manager, CStringW(emitter->getName().c_str())),
                              emitter.get());
        addEmitter(emitter.get());
    }
}

void ParticleCollection::addEmitter(BaseEmitter* emitter) {
    if (emitter)
        m_emitters.insert(emitter->getName(), CRefPointer<BaseEmitter>::share(emitter));
}

BaseEmitter* ParticleCollection::findEmitter(const CString& name) const {
    const auto found = m_emitters.find(name);
    return found == m_emitters.end() ? nullptr : found->value.get();
}
