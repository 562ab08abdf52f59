#pragma once

#include <cstdint>

#include "engine/ui/ParticleProcessor.h"

// Content type 'prtc': particle collection files.
class CParticleCollectionProcessor : public CParticleProcessor {
public:
    using CParticleProcessor::CParticleProcessor;

    uint32_t getContentType() const override { return contentType("prtc"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;

protected:
    ~CParticleCollectionProcessor() override = default;
};
