#include "game/app/MusicFade.h"

namespace {

constexpr float kPointsPerMs = 50.0f * 0.001f;

} // namespace

void GMusicFade::lower(float musicVolume, float loweredVolume) {
    if (m_state == Idle)
        m_volume = musicVolume;
    else if (m_state != Rising)
        return;
    m_state = Falling;
    m_target = loweredVolume < 0.0f ? 0.0f : loweredVolume;
}

void GMusicFade::restore(float musicVolume) {
    if (m_state != Falling && m_state != Lowered)
        return;
    m_state = Rising;
    m_target = musicVolume;
}

bool GMusicFade::step(uint32_t elapsedMs) {
    const float step = float(elapsedMs) * kPointsPerMs;
    if (m_state == Rising) {
        m_volume += step;
        if (!(m_target > m_volume)) {
            m_volume = m_target;
            m_state = Idle;
        }
        return true;
    }
    if (m_state == Falling) {
        m_volume -= step;
        if (!(m_target < m_volume)) {
            m_volume = m_target;
            m_state = Lowered;
        }
        return true;
    }
    return false;
}
