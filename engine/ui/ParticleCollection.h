#pragma once

#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/core/Map.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/Content.h"
#include "engine/ui/BaseEmitter.h"

class CXmlTextReader;

// A particle collection file ('prtc'): the emitters it defines, made by the engine's emitter
// factory, and each named one published in its content manager's 'pemt' cache, where particle
// systems find it by name. Never cached itself: every load reads the file anew.
class ParticleCollection : public CContent {
public:
    explicit ParticleCollection(const CContentKey& key);

    uint32_t getContentType() const override { return contentType("prtc"); }

    // Drops the emitters, then reads every "ParticleEmitter" element up to the end of the
    // "ParticleCollection" element (or of the text). Unknown types and unnamed emitters are
    // dropped; of two emitters with one name the first stays, in the cache and here. Without a
    // content manager nothing is read.
    void readXml(CXmlTextReader& reader);
    void clear() { m_emitters.clear(); }
    // Keeps the emitter under its name unless the name is taken.
    void addEmitter(BaseEmitter* emitter);
    // None when the collection has no emitter of that name.
    BaseEmitter* findEmitter(const CString& name) const;
    uint32_t getEmitterCount() const { return m_emitters.size(); }

protected:
    ~ParticleCollection() override = default;

private:
    CMap<CString, CRefPointer<BaseEmitter>> m_emitters;
};
