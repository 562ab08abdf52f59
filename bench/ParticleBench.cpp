// One tick of a particle system with 10,000 live particles: age and move them, size the
// geometry and rewrite one quad per particle. Ours is the particle system node's own update,
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
#include "engine/ui/ParticleSystemNode.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/IDriverTexture.h"
#include "engine/video/ImageTexture.h"

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

// A 64 x 64 page that only tells its size: the node reads nothing else of it while updating.
class PageTexture : public IDriverTexture {
public:
    void* mapPixels(bool) override { return nullptr; }
    void unmapPixels() override {}
    CPixelSize getSourceSize() const override { return {64, 64}; }
    CPixelSize getSize() const override { return {64, 64}; }
    uint32_t getDriverKind() const override { return 0; }
    int32_t getColorFormat() const override { return 0; }
    uint32_t getPitch() const override { return 0; }
    bool hasMipLevels() const override { return false; }
    void regenerateMipLevels() override {}
    bool isRenderTarget() const override { return false; }
    CSoftwareImage* getSourceImage() const override { return nullptr; }
    void dropSourceImage() override {}
};

// The node with the particles and a frame of a quarter of the page (16 x 16 pixels).
CRefPointer<ParticleSystemNode> particleSystem() {
    CRefPointer<ParticleSystemNode> node(new ParticleSystemNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<IDriverTexture> texture(new PageTexture());
    const CRefPointer<CImageTexture> page(new CImageTexture(CContentKey(), u"", texture.get()));
    const ParticleFrame f = frame();
    node->setTexture(
        CRefPointer<CAtlasTexture>(
            new CAtlasTexture(CContentKey(), page, CRect(f.left, f.top, f.right, f.bottom), {}, {}))
            .get());
    CArray<Particle>& particles = node->getParticles();
    particles.reallocate(kParticles);
    for (const Particle& p : startParticles())
        particles.append(p);
    return node;
}

void reportPerTick(benchmark::State& state, uint64_t allocations) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kParticles);
    state.counters["allocs/tick"] = double(allocations) / kCountedTicks;
}

void BM_ParticleTickVantor(benchmark::State& state) {
    const CRefPointer<ParticleSystemNode> node = particleSystem();
    node->OnUpdate(kTickMs);
    startCountingAllocations();
    for (int i = 0; i < kCountedTicks; ++i)
        node->OnUpdate(kTickMs);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state) {
        node->OnUpdate(kTickMs);
        benchmark::DoNotOptimize(node->getGeometry().getVertices());
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
