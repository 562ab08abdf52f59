#include "engine/ui/ParticleMotion.h"

void advanceParticles(CArray<Particle>& particles, uint32_t elapsedMs) {
    const float dt = float(elapsedMs) * 0.001f;
    uint32_t i = 0;
    while (i < particles.size()) {
        Particle& p = particles[i];
        // Counted unsigned, so that an age past the int range wraps instead of overflowing.
        const uint32_t age = uint32_t(p.age) + elapsedMs;
        p.age = int32_t(age);
        if (age >= p.lifetime) {
            particles.eraseAtUnordered(i);
            continue;
        }
        p.vx += dt * p.ax;
        p.vy += dt * p.ay;
        p.x += dt * p.vx;
        p.y += dt * p.vy;
        p.angularVelocity += dt * p.angularAcceleration;
        p.angle += dt * p.angularVelocity;
        p.size += dt * p.sizeSpeed;
        p.r += dt * p.rSpeed;
        p.g += dt * p.gSpeed;
        p.b += dt * p.bSpeed;
        p.a += dt * p.aSpeed;
        ++i;
    }
}
