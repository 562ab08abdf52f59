#pragma once

#include <cstdint>

#include "engine/ui/ParticleProcessor.h"

// Content type 'pemt': a file holding one emitter's properties, read into a BaseEmitter (which
// emits nothing). Particle systems find the emitters that collections publish instead.
class CEmitterProcessor : public CParticleProcessor {
public:
    using CParticleProcessor::CParticleProcessor;

    uint32_t getContentType() const override { return contentType("pemt"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;

protected:
    ~CEmitterProcessor() override = default;
};
