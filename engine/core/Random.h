#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

// The engine's random numbers: a Mersenne Twister (MT19937) for 32-bit integers and a
// multiply-with-carry pair for fast ranges and floats. Not locked: main thread only.
class CRandom : public CRefCounted {
public:
    // Seeded with 5489, then w = 0x29169588 and z = 0x38D4B27C.
    CRandom();

    // Fills the twister state from the seed and sets w to it; z keeps its value. The read index
    // starts at 0, so the first 624 results are the tempered seeding words and the first twist
    // comes with the 625th: result 624 + n is result n of std::mt19937 seeded the same way.
    void seed(uint32_t seed);

    // The next MT19937 value.
    uint32_t next();
    // The next multiply-with-carry value.
    uint32_t nextMwc();

    // From a to b inclusive, computed unsigned (callers pass a <= b); a without drawing when the
    // span b - a + 1 wraps to 0.
    int32_t nextIntInRange(int32_t a, int32_t b);
    // nextMwc × 2^-32 rounded to float: in [0, 1], the largest values round to exactly 1.
    float nextUnitFloat();
    // a + (b - a) × nextUnitFloat; a without drawing when b - a is 0.
    float nextFloatInRange(float a, float b);
    // The same from the MT19937 stream: a + (b - a) × (next × 2^-32).
    float nextFloatInRangeMt(float a, float b);

private:
    static constexpr uint32_t kStateSize = 624;

    void twist();

    uint32_t m_state[kStateSize];
    uint32_t m_index = 0;
    uint32_t m_w = 0;
    uint32_t m_z = 0;
};
