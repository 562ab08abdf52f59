#include "engine/ui/ParticleMotion.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

namespace {

Particle particleAt(float x, uint32_t lifetime) {
    Particle p{};
    p.x = x;
    p.lifetime = lifetime;
    return p;
}

std::vector<float> positions(const CArray<Particle>& particles) {
    std::vector<float> xs;
    for (const Particle& p : particles)
        xs.push_back(p.x);
    return xs;
}

TEST(ParticleMotionTest, DeadParticlesAreReplacedByTheLastWhichMovesInTheSamePass) {
    CArray<Particle> particles;
    // Particles 0 and 1 die within the tick; the others move by 1 unit per second.
    const uint32_t lifetimes[] = {100, 0, 5000, 5000, 5000};
    for (int i = 0; i < 5; ++i) {
        particles.append(particleAt(float(i * 10), lifetimes[i]));
        particles[uint32_t(i)].vx = 1;
    }
    advanceParticles(particles, 100);
    EXPECT_EQ(positions(particles), (std::vector<float>{40.1f, 30.1f, 20.1f}));
    for (const Particle& p : particles)
        EXPECT_EQ(p.age, 100);
    EXPECT_FALSE(particles.isSorted());
}

TEST(ParticleMotionTest, VelocitiesChangeBeforePositionsAndNothingIsClamped) {
    CArray<Particle> particles;
    Particle p = particleAt(0, 10000);
    p.ax = 10;
    p.ay = -4;
    p.angularAcceleration = 90; // kept as it is by the emitters, applied all the same
    p.angularVelocity = 10;
    p.size = 1;
    p.sizeSpeed = 0.5f;
    p.a = 0.9f;
    p.aSpeed = 0.2f;
    p.r = 0.1f;
    p.rSpeed = -0.3f;
    particles.append(p);
    advanceParticles(particles, 1000);
    const Particle& q = particles[0];
    EXPECT_FLOAT_EQ(q.vx, 10);
    EXPECT_FLOAT_EQ(q.x, 10);
    EXPECT_FLOAT_EQ(q.vy, -4);
    EXPECT_FLOAT_EQ(q.y, -4);
    EXPECT_FLOAT_EQ(q.angularVelocity, 100);
    EXPECT_FLOAT_EQ(q.angle, 100);
    EXPECT_FLOAT_EQ(q.size, 1.5f);
    EXPECT_FLOAT_EQ(q.a, 1.1f);
    EXPECT_FLOAT_EQ(q.r, -0.2f);
}

TEST(ParticleMotionTest, AParticleDiesWhenItsAgeReachesItsLifetime) {
    struct Case {
        int32_t age;
        uint32_t lifetime;
        uint32_t elapsed;
        bool alive;
    };
    const Case cases[] = {
        {0, 0, 0, false},
        {0, 30, 29, true},
        {0, 30, 30, false},
        // Ages past the int range are compared as the unsigned counts they are.
        {INT_MAX - 10, 0xFFFFFFF0u, 30, true},
        {-40, 0xFFFFFFF0u, 30, false},
    };
    for (const Case& c : cases) {
        CArray<Particle> particles;
        Particle p = particleAt(0, c.lifetime);
        p.age = c.age;
        particles.append(p);
        advanceParticles(particles, c.elapsed);
        EXPECT_EQ(particles.size(), c.alive ? 1u : 0u) << c.age << " " << c.lifetime;
    }
}

} // namespace
