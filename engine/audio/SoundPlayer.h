#pragma once

#include <cstdint>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundCue.h"
#include "engine/audio/SoundGroupSettings.h"
#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"

class CEngine;

// Everything that makes sound goes through here: cues are registered by name and played as
// copies, admitted by their group's limit and policy, with the group's volume, pause and
// default fades. Group -1 stands for all groups; its volume is the master volume. Update events
// advance the fades and drop the copies that have finished.
class CSoundPlayer : public CEventReceiver {
public:
    explicit CSoundPlayer(CRefPointer<IAudioDriver> driver);

    // The engine's player, over the engine's audio driver of the moment.
    static CRefPointer<CSoundPlayer> create(CEngine& engine);

    bool OnEvent(CEvent& event) override;

    // The playing copy, or none for an unknown name, an exclusive name already playing or a
    // group that does not admit it. A fade-in of 0 takes the group's default.
    CRefPointer<SoundCue> playCue(CNameId name, bool exclusive = false, int32_t fadeInMs = 0);
    // The oldest copy of that name; a fade-out of 0 takes the group's default.
    void stopCue(CNameId name, int32_t fadeOutMs = 0);
    bool isCuePlaying(CNameId name) const;
    // Stops at once every copy of the group, or every copy for -1.
    void stopGroup(int32_t group);
    // For a group the flag is also kept for the cues it plays later; -1 pauses or resumes every
    // playing copy and keeps nothing.
    void setGroupPaused(bool paused, int32_t group);
    float getGroupVolume(int32_t group);
    // Applies the new volume at once to the registered cues and playing copies it touches.
    void setGroupVolume(float volume, int32_t group);
    // The group's own record, made with defaults on first use, for the caller to change.
    SoundGroupSettings& getGroupSettings(int32_t group);

    // False when a cue of that name is registered already.
    bool addCue(CRefPointer<SoundCue> cue);
    // Also stops every playing copy at once, held elsewhere or not.
    void removeAllCues();

    // Used by SoundCue::play: the group admission, which may fade out the group's oldest copy.
    bool canPlay(const SoundCue& cue);
    void addPlayingInstance(CRefPointer<SoundCue> instance);

    const CArray<CRefPointer<SoundCue>>& getPlayingInstances() const { return m_playing; }
    IAudioDriver* getAudioDriver() const { return m_driver.get(); }

    bool update(CEvent& event);
    bool onAudioDriverRemoved(CEvent& event);
    bool onAudioDriverCreated(CEvent& event);

    static const EventMap& getEventMap();

protected:
    ~CSoundPlayer() override;

private:
    SoundCue* findPlaying(CNameId name) const;
    // For each playing copy of the group, or of every group for -1.
    template <typename Action>
    void forEachPlaying(int32_t group, Action action);

    CRefPointer<IAudioDriver> m_driver;
    CMap<int32_t, SoundGroupSettings> m_groups;
    CMap<CNameId, CRefPointer<SoundCue>> m_cues;
    CArray<CRefPointer<SoundCue>> m_playing;
};
