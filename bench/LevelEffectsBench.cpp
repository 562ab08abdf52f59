// A level's worth of effects for 10 s of game time on one scene clock ticked every 10 ms: 20
// boombox swarms of 8 hearts, 10 hip-hop swarms of 6, 20 magnets pulled toward a far target
// and 30 money effects in flight (their flights stretched over the whole run). Ours is the effect
// nodes themselves (scheduler, nodes, their hearts as child nodes), beside a plain version doing
// the same orbit and spline arithmetic on std::vectors of structs at the same intervals.
// Allocations are counted over a warm run.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/Random.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameClassRegistration.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/ClientMoneyEffectNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "game/effects/MagnetMovableNode.h"

namespace {

constexpr int kBoomboxes = 20;
constexpr int kBoomboxHearts = 8;
constexpr int kDancers = 10;
constexpr int kDancerHearts = 6;
constexpr int kMagnets = 20;
constexpr int kMoney = 30;
// Far enough that no magnet arrives within the run.
constexpr float kMagnetTargetX = 1e6f;
constexpr uint32_t kTickMs = 10;
constexpr int kTicks = 1000;
constexpr int32_t kFlightMs = 20000;
constexpr float kRadians = 0.017453292f;

void setProperty(BaseNode& node, const char* name, const CRefPointer<CPropertyData>& value) {
    node.setPropertyByIndex(node.findProperty(CString(name)), value);
}

// The effects in an open scene, started by one drawing pass.
class LevelEffects {
public:
    LevelEffects() {
        registerUiLibrary();
        CEngineServices::destroyInstance();
        registerGameClasses();
        CEngineServices::instance()->getRandom()->seed(48);
        CRefPointer<BaseNode> heart(new BaseNode(CContentKey(), m_templates.get(), nullptr));
        heart->setName(CNameId(CString("Heart")));
        CRefPointer<BaseNode>(new BaseNode(CContentKey(), heart.get(), nullptr));
        m_templates->OnLoaded();
        m_manager->setTemplateCollection(m_templates.get());
        m_manager->openScene(m_scene.get(), CNameId());
        for (int i = 0; i < kBoomboxes; ++i) {
            CRefPointer<GBoomboxHeartsEffectNode> boombox(
                new GBoomboxHeartsEffectNode(CContentKey(), m_scene.get(), nullptr));
            setProperty(*boombox, "ObjTemplateID", makeStringProperty("Heart"));
            setProperty(*boombox, "EllipseDeviation", makeFloatProperty(0.2f));
            setProperty(*boombox, "AngularVelocityRange", makeVector2dProperty({40, 80}));
            setProperty(*boombox, "ObjectsCountRange",
                        makeVector2dProperty({kBoomboxHearts, kBoomboxHearts}));
        }
        for (int i = 0; i < kDancers; ++i) {
            CRefPointer<GHipHopHeartsNode> dancer(
                new GHipHopHeartsNode(CContentKey(), m_scene.get(), nullptr));
            setProperty(*dancer, "ObjTemplateID", makeStringProperty("Heart"));
            setProperty(*dancer, "Ellipse2Size", makeVector2dProperty({10, 5}));
            setProperty(*dancer, "AngularVelocity1Range", makeVector2dProperty({60, 90}));
            setProperty(*dancer, "AngularVelocity2Range", makeVector2dProperty({180, 240}));
            setProperty(*dancer, "ObjectsCountRange",
                        makeVector2dProperty({kDancerHearts, kDancerHearts}));
            setProperty(*dancer, "AlignByTangent", makeBoolProperty(true));
        }
        CRefPointer<BaseNode> target(new BaseNode(CContentKey(), m_scene.get(), nullptr));
        target->setPosition({kMagnetTargetX, 0, 0});
        for (int i = 0; i < kMagnets; ++i) {
            CRefPointer<GMagnetMovableNode> magnet(
                new GMagnetMovableNode(CContentKey(), m_scene.get(), nullptr));
            magnet->setPosition({float(i * 40), 300, 0});
            CRefPointer<BaseNode>(new BaseNode(CContentKey(), magnet.get(), nullptr));
            magnet->setVelocity({40, -400});
            magnet->setPullAcceleration(800);
            magnet->setTarget(target.get(), nullptr);
        }
        CRefPointer<BaseNode> holder(new BaseNode(CContentKey(), m_scene.get(), nullptr));
        std::vector<CRefPointer<GClientMoneyEffectNode>> money;
        for (int i = 0; i < kMoney; ++i) {
            CRefPointer<BaseNode> client(new BaseNode(CContentKey(), holder.get(), nullptr));
            client->setPosition({float(i * 30), 600, 0});
            money.emplace_back(new GClientMoneyEffectNode(CContentKey(), client.get(), nullptr));
            CRefPointer<BaseNode>(new BaseNode(CContentKey(), money.back().get(), nullptr));
        }
        RenderList list;
        m_scene->collectDrawables(list);
        for (const CRefPointer<GClientMoneyEffectNode>& flight : money)
            flight->setDuration(kFlightMs);
    }
    ~LevelEffects() {
        m_scene->removeAllChildren();
        CEngineServices::destroyInstance();
    }

    void tick() { m_scene->getClock()->update(kTickMs); }
    float checksum() const { return m_scene->getChild(0)->getChild(0)->getPosition().x; }

private:
    CRefPointer<SceneManager> m_manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<TemplateCollectionNode> m_templates{
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> m_scene{new SceneNode(CContentKey(), nullptr, nullptr)};
};

// The same motion written plainly, each group moved every 30 ms as the scheduler calls it.
struct PlainHeart {
    float a, b, angle, velocity, x = 0, y = 0;
};

struct PlainDancerHeart {
    float a1, b1, a2, b2, angle1, angle2, velocity1, velocity2, x = 0, y = 0, rotation = 0;
};

struct PlainMagnet {
    float x, y, vx = 40, vy = -400, pull = 0;
};

struct PlainFlight {
    float p0x, p0y, t0x, t0y, p1x, p1y, t1x, t1y;
    int32_t elapsed = 0;
    float x = 0, y = 0, rotation = 0;
};

class PlainLevelEffects {
public:
    PlainLevelEffects() {
        std::mt19937 random(48);
        std::uniform_real_distribution<float> unit(0, 1);
        for (int i = 0; i < kBoomboxes * kBoomboxHearts; ++i)
            m_hearts.push_back({50 * (0.8f + 0.4f * unit(random)),
                                50 * (0.8f + 0.4f * unit(random)), float(i % 8) * 45,
                                40 + 40 * unit(random)});
        for (int i = 0; i < kDancers * kDancerHearts; ++i)
            m_dancerHearts.push_back({50, 50, 10, 5, float(i % 6) * 60, unit(random) * 360,
                                      60 + 30 * unit(random), 180 + 60 * unit(random)});
        for (int i = 0; i < kMagnets; ++i)
            m_magnets.push_back({float(i * 40), 300});
        for (int i = 0; i < kMoney; ++i)
            m_flights.push_back({0, 0, 300 + 200 * unit(random), 0, 370 - float(i * 30), -570,
                                 300 + 200 * unit(random), 0});
    }

    void tick() {
        m_clock += kTickMs;
        if (m_clock % 30 != 0)
            return;
        const float seconds = 0.03f;
        for (PlainHeart& h : m_hearts) {
            h.angle = std::fmod(h.angle + h.velocity * seconds, 360.0f);
            h.x = std::cos(h.angle * kRadians) * h.a;
            h.y = std::sin(h.angle * kRadians) * h.b;
        }
        for (PlainDancerHeart& h : m_dancerHearts) {
            h.angle1 = std::fmod(h.angle1 + h.velocity1 * seconds, 360.0f);
            h.angle2 = std::fmod(h.angle2 + h.velocity2 * seconds, 360.0f);
            h.x = std::cos(h.angle2 * kRadians) * h.a2 + std::cos(h.angle1 * kRadians) * h.a1;
            h.y = std::sin(h.angle2 * kRadians) * h.b2 + std::sin(h.angle1 * kRadians) * h.b1;
            h.rotation = h.angle1 + 90;
        }
        for (PlainMagnet& m : m_magnets)
            pull(m, seconds);
        for (PlainFlight& f : m_flights)
            fly(f);
    }
    float checksum() const {
        return m_hearts[0].x + m_dancerHearts[0].y + m_magnets[0].x + m_flights[0].x;
    }

private:
    static void pull(PlainMagnet& m, float seconds) {
        const float length = std::sqrt(m.vx * m.vx + m.vy * m.vy);
        const float loss = seconds * 80;
        const float kept = length < loss ? 0 : (length - loss) / length;
        m.vx *= kept;
        m.vy *= kept;
        m.pull += 800 * seconds;
        const float dx = kMagnetTargetX + 23 - m.x, dy = 22 - m.y;
        const float distance = std::sqrt(dx * dx + dy * dy);
        m.x += seconds * (m.vx + dx / distance * m.pull);
        m.y += seconds * (m.vy + dy / distance * m.pull);
    }

    static void fly(PlainFlight& f) {
        f.elapsed += 30;
        const float u = float(f.elapsed) / float(kFlightMs);
        const float u2 = u * u;
        const float u3 = u2 * u;
        const float h1 = 2 * u3 - 3 * u2 + 1, h2 = 3 * u2 - 2 * u3, h3 = u3 - 2 * u2 + u,
                    h4 = u3 - u2;
        f.x = h1 * f.p0x + h2 * f.p1x + h3 * f.t0x + h4 * f.t1x;
        f.y = h1 * f.p0y + h2 * f.p1y + h3 * f.t0y + h4 * f.t1y;
        const float d1 = 6 * u2 - 6 * u, d2 = 6 * u - 6 * u2, d3 = 3 * u2 - 4 * u + 1,
                    d4 = 3 * u2 - 2 * u;
        const float dx = d1 * f.p0x + d2 * f.p1x + d3 * f.t0x + d4 * f.t1x;
        const float dy = d1 * f.p0y + d2 * f.p1y + d3 * f.t0y + d4 * f.t1y;
        float angle = std::atan2(dy, dx) * 57.29578f;
        if (angle < 0)
            angle += 360;
        f.rotation = angle + 90;
    }

    std::vector<PlainHeart> m_hearts;
    std::vector<PlainDancerHeart> m_dancerHearts;
    std::vector<PlainMagnet> m_magnets;
    std::vector<PlainFlight> m_flights;
    uint32_t m_clock = 0;
};

template <typename Run>
void runTicks(benchmark::State& state) {
    const uint64_t allocations = allocationsOfARun<Run>(kTicks);
    for (auto _ : state) {
        state.PauseTiming();
        Run run;
        state.ResumeTiming();
        for (int i = 0; i < kTicks; ++i)
            run.tick();
        benchmark::DoNotOptimize(run.checksum());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kTicks);
    state.counters["allocs/tick"] = double(allocations) / kTicks;
}

void BM_LevelEffectsVantor(benchmark::State& state) {
    runTicks<LevelEffects>(state);
}

void BM_LevelEffectsStd(benchmark::State& state) {
    runTicks<PlainLevelEffects>(state);
}

BENCHMARK(BM_LevelEffectsVantor)->Name("LevelEffects/vantor/270")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelEffectsStd)->Name("LevelEffects/std/270")->Unit(benchmark::kMicrosecond);

} // namespace
