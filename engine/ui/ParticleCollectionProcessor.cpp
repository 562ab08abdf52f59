#include "engine/ui/ParticleCollectionProcessor.h"

#include <utility>

#include "engine/core/Logger.h"
#include "engine/io/XmlContentFrame.h"
#include "engine/ui/ParticleCollection.h"

bool refuseParticleSave(const CStringW& name) {
    CLogger::instance()->log(CStringW(u"Particle collection can't be saved: ") + name,
                             CLogger::LevelWarning);
    return false;
}

CParticleCollectionProcessor::CParticleCollectionProcessor(
    CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

CRefPointer<CContent> CParticleCollectionProcessor::load(CContentManager& manager, IInputFile* file,
                                                         const CContentKey& key) {
    if (!m_fileSystem)
        return nullptr;
    return loadXmlContent(
        manager, *m_fileSystem, file, key,
        [](const CContentKey& k) {
            return CRefPointer<ParticleCollection>(new ParticleCollection(k));
        },
        [](ParticleCollection& collection, CXmlTextReader& reader) { collection.readXml(reader); });
}

bool CParticleCollectionProcessor::canSave(const CStringW& name) const {
    return refuseParticleSave(name);
}

bool CParticleCollectionProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}
