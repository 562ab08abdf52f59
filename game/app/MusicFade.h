#pragma once

#include <cstdint>

// The music's level while a level's sound lowers it and brings it back, in volume points
// (0 to 100), moving 50 points a second on the update events.
class GMusicFade {
public:
    enum State : int32_t {
        Idle = 0,
        Rising = 1,
        Falling = 2,
        Lowered = 3,
    };

    // From the music's level, or from where a rise stands, down to the lowered level; nothing
    // while already falling or lowered.
    void lower(float musicVolume, float loweredVolume);
    // Back up to the music's level from where it stands; nothing unless falling or lowered.
    void restore(float musicVolume);
    // True when the level moved, for the caller to apply it.
    bool step(uint32_t elapsedMs);

    State getState() const { return m_state; }
    float getVolume() const { return m_volume; }

private:
    State m_state = Idle;
    float m_volume = 1.0f;
    float m_target = 1.0f;
};
