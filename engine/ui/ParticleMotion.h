#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/ui/Particle.h"

// Ages every particle by the elapsed milliseconds and removes those whose age has reached their
// lifetime: the last record takes the dead one's place and is updated in the same pass. The
// others move, turn, scale and fade by their speeds over the elapsed time (velocities first, so
// that positions move with the new velocity); nothing is clamped.
void advanceParticles(CArray<Particle>& particles, uint32_t elapsedMs);
