#pragma once

#include <cstdint>

// How one sound group plays: its limit and what happens when it is full, its default fades,
// its volume and whether it is paused.
struct SoundGroupSettings {
    enum OverflowPolicy : int32_t {
        kRefuseNew = 0,
        // Fade out the oldest instance of the group with the default fade-out.
        kReplaceOldest = 1,
    };

    // kRefuseNew, kReplaceOldest; any other value plays the new cue anyway.
    int32_t overflowPolicy = kRefuseNew;
    int32_t fadeOutMs = 0;
    int32_t fadeInMs = 0;
    // 0: no limit.
    int32_t maxPlaying = 0;
    float volume = 1.0f;
    bool paused = false;
};
