// One tick of a particle system with 10,000 live particles: age and move them, size the
// geometry and rewrite one quad per particle. Ours on the engine's array and geometry buffer,
// beside the same job written plainly with the standard library (std::vector, std::erase_if,
// std::sin and std::cos). Allocations per tick are counted over untimed warm ticks.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "engine/core/Color.h"
#include "engine/core/RefPointer.h"
#include "engine/ui/GeometryBuffer.h"
#include "engine/ui/ParticleMotion.h"
#include "engine/ui/ParticleQuads.h"

namespace {

constexpr uint32_t kParticles = 10000;
constexpr uint32_t kTickMs = 30;
constexpr int kCountedTicks = 10;

std::vector<Particle> startParticles() {
    std::mt19937 random(28);
    std::uniform_real_distribution<float> unit(0, 1);
    std::vector<Particle> particles(kParticles);
    for (Particle& p : particles) {
        p = Particle{};
        p.x = unit(random) * 800;
        p.y = unit(random) * 600;
        p.vx = unit(random) * 40 - 20;
        p.vy = unit(random) * -60;
        p.ay = 30;
        p.angle = unit(random) * 360;
        p.angularVelocity = unit(random) * 90 - 45;
        p.size = 0.5f + unit(random);
        p.sizeSpeed = -0.01f;
        p.r = p.g = p.b = p.a = 1;
        p.aSpeed = -0.001f;
        // Alive for the whole run.
        p.lifetime = 0xF0000000u;
    }
    return particles;
}

ParticleFrame frame() {
    ParticleFrame f;
    f.right = 0.25f;
    f.bottom = 0.25f;
    f.width = 16;
    f.height = 16;
    return f;
}

void reportPerTick(benchmark::State& state, uint64_t allocations) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kParticles);
    state.counters["allocs/tick"] = double(allocations) / kCountedTicks;
}

void BM_ParticleTickVantor(benchmark::State& state) {
    CArray<Particle> particles;
    particles.reallocate(kParticles);
    for (const Particle& p : startParticles())
        particles.append(p);
    CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
    const ParticleFrame f = frame();
    const CColor tint(0xFFFFFFFF);
    auto tick = [&] {
        advanceParticles(particles, kTickMs);
        sizeParticleGeometry(*geometry, particles.size(), f);
        writeParticleQuads(*geometry, particles, f, tint);
    };
    tick();
    startCountingAllocations();
    for (int i = 0; i < kCountedTicks; ++i)
        tick();
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state) {
        tick();
        benchmark::DoNotOptimize(geometry->vertices());
    }
    reportPerTick(state, allocations);
}

// The same tick as it is commonly written: erase the dead in order, rebuild the vertex list
// from empty and turn each quad with the library's sine and cosine.
struct PlainParticleSystem {
    std::vector<Particle> particles = startParticles();
    std::vector<CVertex> vertices;
    std::vector<uint16_t> indices;

    void tick(const ParticleFrame& f, CColor tint) {
        const float dt = float(kTickMs) * 0.001f;
        std::erase_if(particles, [](Particle& p) {
            p.age += int32_t(kTickMs);
            return uint32_t(p.age) >= p.lifetime;
        });
        for (Particle& p : particles) {
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
        }
        vertices.clear();
        indices.clear();
        for (const Particle& p : particles) {
            const float hw = f.width * p.size * 0.5f;
            const float hh = f.height * p.size * 0.5f;
            const float radians = float(int(p.angle)) * 0.017453292f;
            const float c = std::cos(radians);
            const float s = std::sin(radians);
            const CColor color = CColorf(p.r, p.g, p.b, p.a).toColor().modulate(tint);
            const auto base = uint16_t(vertices.size());
            const float corners[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
            const float uv[4][2] = {
                {f.left, f.top}, {f.right, f.top}, {f.right, f.bottom}, {f.left, f.bottom}};
            for (int k = 0; k < 4; ++k) {
                CVertex v{};
                v.position = CVector3d(p.x + corners[k][0] * c - corners[k][1] * s,
                                       p.y + corners[k][0] * s + corners[k][1] * c, 0);
                v.color = color;
                v.texCoord = CVector2d(uv[k][0], uv[k][1]);
                vertices.push_back(v);
            }
            for (uint16_t k : {0, 1, 2, 0, 2, 3})
                indices.push_back(uint16_t(base + k));
        }
    }
};

void BM_ParticleTickStd(benchmark::State& state) {
    PlainParticleSystem system;
    const ParticleFrame f = frame();
    const CColor tint(0xFFFFFFFF);
    system.tick(f, tint);
    startCountingAllocations();
    for (int i = 0; i < kCountedTicks; ++i)
        system.tick(f, tint);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state) {
        system.tick(f, tint);
        benchmark::DoNotOptimize(system.vertices.data());
    }
    reportPerTick(state, allocations);
}

BENCHMARK(BM_ParticleTickVantor)->Name("ParticleTick/vantor/10000");
BENCHMARK(BM_ParticleTickStd)->Name("ParticleTick/std/10000");

} // namespace
