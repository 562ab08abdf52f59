// The map's traffic for 10 s of game time on a scene clock ticked every 10 ms: 200 pedestrians
// walking long streets, 10 cars on splines, a plane and two scooters. Ours is the effect nodes
// themselves (scheduler, nodes, their children's direction states), beside a plain version
// doing the same straight-line and spline arithmetic on std::vectors of structs. Allocations
// are counted over a warm run: none are expected, neither from the movement nor from the
// states and frames it sets off (a child's direction at each point passed, a car body's frame
// when its heading moves to the next one).
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/AllocationCounter.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameClassRegistration.h"
#include "game/effects/CarNode.h"
#include "game/effects/PedestrianNode.h"
#include "game/effects/PlaneNode.h"
#include "game/effects/ScooterNode.h"
#include "tests/scene/SceneXmlFixtures.h"

namespace {

constexpr int kPedestrians = 200;
constexpr int kCars = 10;
constexpr uint32_t kTickMs = 10;
constexpr int kTicks = 1000;

struct Point {
    float x;
    float y;
};

// Streets of 20 points 60 to 120 apart, roads of 15 points, a plane's line and a scooter's
// coast; long enough that nobody arrives within the 10 s.
std::vector<std::vector<Point>> makeRoutes(int count, int points, float step, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0, 1);
    std::vector<std::vector<Point>> routes(static_cast<size_t>(count));
    for (std::vector<Point>& route : routes) {
        Point at{unit(random) * 1000, unit(random) * 700};
        for (int i = 0; i < points; ++i) {
            route.push_back(at);
            const float angle = unit(random) * 6.2831855f;
            const float length = step * (0.5f + unit(random));
            at = {at.x + std::cos(angle) * length, at.y + std::sin(angle) * length};
        }
    }
    return routes;
}

struct Routes {
    std::vector<std::vector<Point>> streets = makeRoutes(6, 20, 80, 1);
    std::vector<std::vector<Point>> roads = makeRoutes(3, 15, 150, 2);
    std::vector<std::vector<Point>> sky = makeRoutes(1, 2, 3000, 3);
    std::vector<std::vector<Point>> coast = makeRoutes(1, 10, 120, 4);
};

CRefPointer<GPath> pathOf(const std::vector<Point>& route, float shift) {
    CRefPointer<GPath> path(new GPath());
    for (const Point& p : route) {
        PathPoint point;
        point.x = p.x;
        point.y = p.y;
        point.d1 = shift;
        point.d2 = shift;
        path->points.append(point);
    }
    return path;
}

// A car body whose "Rotation" animation holds the 36 headings.
std::u16string carXml() {
    std::string keys = "<KeyFrame t=\"0\" Value0=\"0;0;0\"/>";
    for (int k = 1; k < 36; ++k)
        keys += "<KeyFrame t=\"10\" Value0=\"0;0;" + std::to_string(k * 10) + "\"/>";
    const std::string xml =
        "<SceneNode Type=\"BaseNode\" ClassOverride=\"GCarNode\"><SceneNode Type=\"SpriteNode\">"
        "<Properties><string Name=\"Name\" Value=\"Body\"/></Properties><States>"
        "<State Name=\"Rotation\"><Animator Type=\"KeyFrame\"><Properties><vector3d "
        "Name=\"Rotation\" Value=\"0;0;0\"/></Properties>" +
        keys + "</Animator></State></States></SceneNode></SceneNode>";
    return std::u16string(xml.begin(), xml.end());
}

// The movers in an open scene, each with a body child, started on their paths and drawn once.
class Traffic {
public:
    Traffic() {
        registerUiLibrary();
        CEngineServices::destroyInstance();
        registerGameClasses();
        CEngineServices::instance()->getRandom()->seed(20);
        m_manager->openScene(m_scene.get(), CNameId());
        for (const auto& route : m_routes.streets)
            m_streets.push_back(pathOf(route, 4));
        for (const auto& route : m_routes.roads)
            m_roads.push_back(pathOf(route, 0));
        std::mt19937 random(5);
        for (int i = 0; i < kPedestrians; ++i) {
            CRefPointer<GPedestrianNode> walker = add<GPedestrianNode>();
            walker->setSpeed(5 + float(random() % 1000) / 100);
            walker->startPath(m_streets[size_t(i) % m_streets.size()].get(), -1, i % 2 == 0, false);
        }
        for (int i = 0; i < kCars; ++i) {
            const CRefPointer<CXmlTextReader> reader = readerOver(carXml());
            moveToElement(*reader, u"SceneNode");
            const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
            CRefPointer<BaseNode> node = BaseNode::createFromXml(*reader, factory, CContentKey());
            node->loadFromXml(*reader, factory);
            m_scene->appendChild(node.get());
            auto* car = static_cast<GCarNode*>(node.get());
            car->setSpeed(80 + float(random() % 40));
            car->startPath(m_roads[size_t(i) % m_roads.size()].get());
        }
        add<GPlaneNode>()->startPath(pathOf(m_routes.sky[0], 0).get(), -1, false, false);
        for (int i = 0; i < 2; ++i)
            add<GScooterNode>()->startPath(pathOf(m_routes.coast[0], 0).get(), -1, i == 1, false);
        RenderList list;
        m_scene->collectDrawables(list);
    }
    ~Traffic() {
        m_scene->removeAllChildren();
        CEngineServices::destroyInstance();
    }

    void tick() { m_scene->getClock()->update(kTickMs); }
    uint32_t movers() const { return m_scene->getChildCount(); }
    const Routes& routes() const { return m_routes; }

private:
    template <typename Node>
    CRefPointer<Node> add() {
        CRefPointer<Node> node(new Node(CContentKey(), m_scene.get(), nullptr));
        CRefPointer<BaseNode> body(new BaseNode(CContentKey(), node.get(), nullptr));
        body->setName(CNameId(CString("Body")));
        node->OnLoaded();
        return node;
    }

    Routes m_routes;
    std::vector<CRefPointer<GPath>> m_streets;
    std::vector<CRefPointer<GPath>> m_roads;
    CRefPointer<SceneManager> m_manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> m_scene{new SceneNode(CContentKey(), nullptr, nullptr)};
};

void reportPerTick(benchmark::State& state, uint64_t allocations, uint32_t movers) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kTicks);
    state.counters["allocs/tick"] = double(allocations) / kTicks;
    state.counters["movers"] = movers;
}

void BM_MapTrafficVantor(benchmark::State& state) {
    const uint64_t allocations = allocationsOfARun<Traffic>(kTicks);
    uint32_t movers = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Traffic traffic;
        state.ResumeTiming();
        for (int i = 0; i < kTicks; ++i)
            traffic.tick();
        state.PauseTiming();
        movers = traffic.movers();
        state.ResumeTiming();
    }
    reportPerTick(state, allocations, movers);
}

// The same movement written plainly: walkers go point to point with the same shifts, scales
// and headings; cars run the same Hermite segments, derivative and frame lookup. Each group
// moves at its own interval, as the scheduler would call it.
struct PlainWalker {
    const std::vector<Point>* route;
    size_t target = 1;
    float fromX, fromY, toX, toY, length, travelled = 0, speed, shift;
    float fromScale = 1, toScale = 1, scale = 1;
    float x = 0, y = 0;
    int direction = 0;
};

struct PlainKnot {
    float x, y, inX, inY, outX, outY, length, scale;
};

struct PlainCar {
    std::vector<PlainKnot> knots;
    size_t segment = 0;
    float travelled = 0, speed, x = 0, y = 0, scale = 1;
    int frame = 0;
};

int sectorOf(float dx, float dy) {
    float a = std::atan2(-dy, dx);
    if (a < 0)
        a += 6.2831855f;
    return int(a * 57.29578f + 15) / 30;
}

class PlainTraffic {
public:
    PlainTraffic() : m_random(5) {
        std::mt19937 random(5);
        for (int i = 0; i < kPedestrians; ++i) {
            PlainWalker w;
            w.route = &m_routes.streets[size_t(i) % m_routes.streets.size()];
            w.speed = 5 + float(random() % 1000) / 100;
            w.shift = 4;
            w.fromX = (*w.route)[0].x;
            w.fromY = (*w.route)[0].y;
            nextTarget(w);
            m_walkers.push_back(w);
        }
        for (int i = 0; i < kCars; ++i)
            m_cars.push_back(makeCar(m_routes.roads[size_t(i) % m_routes.roads.size()],
                                     80 + float(random() % 40)));
        for (const std::vector<Point>* route :
             {&m_routes.sky[0], &m_routes.coast[0], &m_routes.coast[0]}) {
            PlainWalker w;
            w.route = route;
            w.speed = 60;
            w.shift = 0;
            w.fromX = (*route)[0].x;
            w.fromY = (*route)[0].y;
            nextTarget(w);
            m_fast.push_back(w);
        }
    }

    void tick() {
        m_clock += kTickMs;
        for (PlainWalker& w : m_fast)
            advance(w, kTickMs);
        if (m_clock % 20 == 0) {
            for (PlainCar& car : m_cars)
                drive(car, 20);
        }
        if (m_clock % 30 == 0) {
            for (PlainWalker& w : m_walkers)
                advance(w, 30);
        }
    }
    float checksum() const { return m_walkers[0].x + m_cars[0].x + m_fast[0].x; }

private:
    void nextTarget(PlainWalker& w) {
        const Point& p = (*w.route)[w.target];
        const float r = w.shift * (2 * m_unit(m_random) - 1);
        const float cx = p.x - w.fromX;
        const float cy = p.y - w.fromY;
        const float chord = std::sqrt(cx * cx + cy * cy);
        w.toX = p.x + (chord > 0 ? -cy / chord * r : 0);
        w.toY = p.y + (chord > 0 ? cx / chord * r : 0);
        const float dx = w.toX - w.fromX;
        const float dy = w.toY - w.fromY;
        w.length = float(std::sqrt(double(dx * dx + dy * dy)));
        w.direction = sectorOf(dx, dy);
    }
    void advance(PlainWalker& w, uint32_t ms) {
        w.travelled += w.speed * float(ms) * 0.001f;
        while (w.length <= w.travelled && w.target + 1 < w.route->size()) {
            w.travelled -= w.length;
            w.fromX = w.toX;
            w.fromY = w.toY;
            w.fromScale = w.toScale;
            ++w.target;
            nextTarget(w);
        }
        const float share = w.length > 0 ? w.travelled / w.length : 0;
        w.x = w.fromX + (w.toX - w.fromX) * share;
        w.y = w.fromY + (w.toY - w.fromY) * share;
        w.scale = w.fromScale + (w.toScale - w.fromScale) * share;
    }

    static PlainCar makeCar(const std::vector<Point>& route, float speed) {
        PlainCar car;
        car.speed = speed;
        const size_t last = route.size() - 1;
        for (size_t i = 0; i <= last; ++i) {
            const Point& a = route[i > 0 ? i - 1 : 0];
            const Point& b = route[i < last ? i + 1 : last];
            const float scale = i > 0 && i < last ? 0.5f : 1.0f;
            PlainKnot k{route[i].x,
                        route[i].y,
                        (b.x - a.x) * scale,
                        (b.y - a.y) * scale,
                        (b.x - a.x) * scale,
                        (b.y - a.y) * scale,
                        0,
                        1};
            car.knots.push_back(k);
        }
        for (size_t i = 0; i + 1 < car.knots.size(); ++i) {
            const PlainKnot& a = car.knots[i];
            const PlainKnot& b = car.knots[i + 1];
            float length = 0;
            float px = a.x;
            float py = a.y;
            for (float t = 0.03f; t <= 1.0001f; t += 0.03f) {
                float x, y;
                hermite(a, b, t, x, y);
                length += std::sqrt((x - px) * (x - px) + (y - py) * (y - py));
                px = x;
                py = y;
            }
            car.knots[i].length = length > 0.001f ? length : 1;
        }
        return car;
    }
    static void hermite(const PlainKnot& a, const PlainKnot& b, float t, float& x, float& y) {
        const float t2 = t * t;
        const float t3 = t2 * t;
        const float h1 = 2 * t3 - 3 * t2 + 1, h2 = 3 * t2 - 2 * t3, h3 = t3 - 2 * t2 + t,
                    h4 = t3 - t2;
        x = a.x * h1 + b.x * h2 + a.outX * h3 + b.inX * h4;
        y = a.y * h1 + b.y * h2 + a.outY * h3 + b.inY * h4;
    }
    static void drive(PlainCar& car, uint32_t ms) {
        if (car.segment + 1 >= car.knots.size())
            return;
        car.travelled += float(ms) * 0.001f * car.speed;
        while (car.knots[car.segment].length <= car.travelled) {
            car.travelled -= car.knots[car.segment].length;
            if (++car.segment + 1 >= car.knots.size())
                return;
        }
        const PlainKnot& a = car.knots[car.segment];
        const PlainKnot& b = car.knots[car.segment + 1];
        const float t = car.travelled / a.length;
        hermite(a, b, t, car.x, car.y);
        const float t2 = t * t;
        const float dx = a.x * (6 * t2 - 6 * t) + b.x * (6 * t - 6 * t2) +
                         a.outX * (3 * t2 - 4 * t + 1) + b.inX * (3 * t2 - 2 * t);
        const float dy = a.y * (6 * t2 - 6 * t) + b.y * (6 * t - 6 * t2) +
                         a.outY * (3 * t2 - 4 * t + 1) + b.inY * (3 * t2 - 2 * t);
        float heading = std::atan2(-dy, dx);
        if (heading < 0)
            heading += 6.2831855f;
        car.frame = int(heading * 57.29578f / 10);
        car.scale = a.scale + (b.scale - a.scale) * t;
    }

    Routes m_routes;
    std::vector<PlainWalker> m_walkers;
    std::vector<PlainWalker> m_fast;
    std::vector<PlainCar> m_cars;
    std::mt19937 m_random;
    std::uniform_real_distribution<float> m_unit{0, 1};
    uint32_t m_clock = 0;
};

void BM_MapTrafficStd(benchmark::State& state) {
    const uint64_t allocations = allocationsOfARun<PlainTraffic>(kTicks);
    for (auto _ : state) {
        state.PauseTiming();
        PlainTraffic traffic;
        state.ResumeTiming();
        for (int i = 0; i < kTicks; ++i)
            traffic.tick();
        benchmark::DoNotOptimize(traffic.checksum());
    }
    reportPerTick(state, allocations, kPedestrians + kCars + 3);
}

BENCHMARK(BM_MapTrafficVantor)->Name("MapTraffic/vantor/213")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapTrafficStd)->Name("MapTraffic/std/213")->Unit(benchmark::kMicrosecond);

} // namespace
