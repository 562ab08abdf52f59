#include "engine/ui/EmitterProcessor.h"

#include <utility>

#include "engine/io/XmlContentFrame.h"
#include "engine/ui/BaseEmitter.h"
#include "engine/ui/ParticleCollectionProcessor.h"

CEmitterProcessor::CEmitterProcessor(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

CRefPointer<CContent> CEmitterProcessor::load(CContentManager& manager, IInputFile* file,
                                              const CContentKey& key) {
    if (!m_fileSystem)
        return nullptr;
    return loadXmlContent(
        manager, *m_fileSystem, file, key,
        [](const CContentKey& k) { return CRefPointer<BaseEmitter>(new BaseEmitter(k)); },
        [](BaseEmitter& emitter, CXmlTextReader& reader) { emitter.readXml(reader); });
}

bool CEmitterProcessor::canSave(const CStringW& name) const {
    return refuseParticleSave(name);
}

bool CEmitterProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}
