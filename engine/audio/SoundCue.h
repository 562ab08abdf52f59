#pragma once

#include <cstdint>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundSource.h"
#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"

class CContentManager;
class CSoundPlayer;

// A named sound event: one of its sounds, picked at random, played with the cue's volume, group
// and loop flag. Registered cues are templates: playing one starts a copy that the player keeps
// until its sound ends, its fade-out completes or it is stopped at once.
class SoundCue : public CEventReceiver {
public:
    enum FadeState : int32_t {
        kNoFade = 0,
        kFadingIn = 1,
        kFadingOut = 2,
    };

    // A cue is stopped at once, whatever the fade-out asked, before it has played this long.
    static constexpr uint32_t kMinPlayedBeforeFadeOutMs = 50;

    explicit SoundCue(CNameId name);

    // Reads the attributes of the "SoundCue" element the reader stands on and loads its "Sound"
    // children through the content manager, relative to its current folder; sounds that do
    // not load are skipped. While it loads, "StreamingType" 1 or 2 overrides the driver's
    // streaming threshold, which is restored however the element ends.
    void readXml(CXmlTextReader& reader, CContentManager& manager, IAudioDriver* driver);

    // A playing copy owned by the player, or none when the cue has no player, its group does
    // not admit it or no sound starts.
    CRefPointer<SoundCue> play(int32_t fadeInMs);
    void stop(int32_t fadeOutMs);
    void setPaused(bool paused);
    // 0 no current sound, 1 its sound is paused, 2 otherwise.
    int32_t getState() const;
    // Advances the fades and notices an ended sound.
    void update(uint32_t elapsedMs);
    // Sets volume x master volume x group volume on every sound.
    void applyVolume();
    // A copy for the player with copies of the sounds; sounds that cannot be copied are left out.
    CRefPointer<SoundCue> clone(CSoundPlayer* player) const;

    CNameId getName() const { return m_name; }
    int32_t getGroup() const { return m_group; }
    float getVolume() const { return m_volume; }
    bool isLooping() const { return m_loop; }
    int32_t getFadeState() const { return m_fadeState; }
    int32_t getFadePosition() const { return m_fadePosition; }
    int32_t getFadeDuration() const { return m_fadeDuration; }
    const CArray<CRefPointer<CSoundSource>>& getSounds() const { return m_sounds; }
    // -1 when none.
    int32_t getCurrentSound() const { return m_current; }
    bool hasCurrentSound() const { return m_current >= 0; }
    CSoundPlayer* getPlayer() const { return m_player; }
    void setPlayer(CSoundPlayer* player) { m_player = player; }

protected:
    ~SoundCue() override = default;

private:
    CSoundSource* currentSource() const;
    // Starts a sound: any of them for a new copy, any but the one that just ended when a
    // looping copy goes on. False, with no current sound, when none starts.
    bool pickAndPlay(int32_t ended);
    void clearCurrentSound();
    void setCurrentVolume(float volume);
    // The effective volume scaled by the reached part of the fade.
    float fadedVolume() const;

    CSoundPlayer* m_player = nullptr;
    CNameId m_name;
    int32_t m_group = -1;
    float m_volume = 1.0f;
    float m_effectiveVolume = 1.0f;
    bool m_loop = false;
    uint32_t m_elapsedMs = 0;
    int32_t m_fadeState = kNoFade;
    int32_t m_fadePosition = 0;
    int32_t m_fadeDuration = 0;
    CArray<CRefPointer<CSoundSource>> m_sounds;
    int32_t m_current = -1;
};
