#include "engine/ui/ParticleProcessor.h"

#include <utility>

#include "engine/core/Logger.h"

CParticleProcessor::CParticleProcessor(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

bool CParticleProcessor::canSave(const CStringW& name) const {
    CLogger::instance()->log(CStringW(u"Particle collection can't be saved: ") + name,
                             CLogger::LevelWarning);
    return false;
}

bool CParticleProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}
