#pragma once

#include <cstdint>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundCue.h"
#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/io/Content.h"
#include "engine/io/XmlTextReader.h"

class CContentManager;
class CSoundPlayer;

// The cues of one sound pack file, in file order: the content of type 'sndp', handed out shared.
class SoundPack : public CContent {
public:
    static constexpr uint32_t kContentType = contentType("sndp");

    explicit SoundPack(const CContentKey& key);

    uint32_t getContentType() const override { return kContentType; }

    // Reads every "SoundCue" element up to the end tag "SoundPack" (or the end of the text);
    // the driver's streaming threshold is what the cues' streaming types override.
    void readXml(CXmlTextReader& reader, CContentManager& manager, IAudioDriver* driver);
    // Registers the cues in order; a name already registered keeps the earlier cue.
    void addCuesTo(CSoundPlayer& player) const;

    const CArray<CRefPointer<SoundCue>>& getCues() const { return m_cues; }

protected:
    ~SoundPack() override = default;

private:
    CArray<CRefPointer<SoundCue>> m_cues;
};
