#include "engine/audio/SoundPack.h"

#include "engine/audio/SoundPlayer.h"

SoundPack::SoundPack(const CContentKey& key) : CContent(key) {
    setHandOutMode(kShared);
}

void SoundPack::readXml(CXmlTextReader& reader, CContentManager& manager, IAudioDriver* driver) {
    while (reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kEndElement && reader.nodeName() == u"SoundPack")
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement || reader.nodeName() != u"SoundCue")
            continue;
        const CRefPointer<SoundCue> cue(
            new SoundCue(CNameId(CString(reader.getAttribute(u"Name").c_str()))));
        cue->readXml(reader, manager, driver);
        m_cues.append(cue);
    }
}

void SoundPack::addCuesTo(CSoundPlayer& player) const {
    for (const CRefPointer<SoundCue>& cue : m_cues)
        player.addCue(cue);
}
