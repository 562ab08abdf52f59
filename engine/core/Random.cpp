#include "engine/core/Random.h"

namespace {

constexpr float kTwoToMinus32 = 1.0f / 4294967296.0f;

} // namespace

CRandom::CRandom() {
    seed(5489);
    m_w = 0x29169588;
    m_z = 0x38D4B27C;
}

void CRandom::seed(uint32_t seed) {
    m_state[0] = seed;
    for (uint32_t i = 1; i < kStateSize; ++i)
        m_state[i] = 1812433253u * (m_state[i - 1] ^ (m_state[i - 1] >> 30)) + i;
    m_index = 0;
    m_w = seed;
}

void CRandom::twist() {
    for (uint32_t k = 0; k < kStateSize; ++k) {
        const uint32_t y =
            (m_state[k] & 0x80000000u) | (m_state[(k + 1) % kStateSize] & 0x7FFFFFFFu);
        m_state[k] = m_state[(k + 397) % kStateSize] ^ (y >> 1) ^ ((y & 1) ? 0x9908B0DFu : 0u);
    }
    m_index = 0;
}

uint32_t CRandom::next() {
    if (m_index >= kStateSize)
        twist();
    uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

uint32_t CRandom::nextMwc() {
    m_z = 36969 * (m_z & 0xFFFF) + (m_z >> 16);
    m_w = 18000 * (m_w & 0xFFFF) + (m_w >> 16);
    return (m_z << 16) + m_w;
}

int32_t CRandom::nextIntInRange(int32_t a, int32_t b) {
    const uint32_t span = uint32_t(b) - uint32_t(a) + 1;
    if (span == 0)
        return a;
    return int32_t(uint32_t(a) + nextMwc() % span);
}

float CRandom::nextUnitFloat() {
    // Rounding the value to float first and then scaling by a power of two rounds once, as
    // rounding the exact product would.
    return float(nextMwc()) * kTwoToMinus32;
}

float CRandom::nextFloatInRange(float a, float b) {
    const float d = b - a;
    if (d == 0)
        return a;
    return a + d * nextUnitFloat();
}

float CRandom::nextFloatInRangeMt(float a, float b) {
    const float d = b - a;
    if (d == 0)
        return a;
    return a + d * (float(next()) * kTwoToMinus32);
}
