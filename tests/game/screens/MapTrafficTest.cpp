#include "game/screens/MapTraffic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "engine/scene/Drawable.h"
#include "game/effects/CarNode.h"
#include "game/effects/PathMovableNode.h"
#include "tests/game/effects/EffectFixture.h"
#include "tests/game/screens/ScreenFixture.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

using Group = GMapTraffic::EGroup;

// Paths long enough that no pedestrian placed on arrival reaches the end of its street.
const char kHumanPaths[] = R"(<Paths>
  <Path ID="North"><p p="0;0"/><p p="2000;0"/></Path>
  <Path ID="South"><p p="0;100"/><p p="2000;100"/></Path>
</Paths>)";
const char kScooterPaths[] = R"(<Paths><Path><p p="100;300"/><p p="100;600"/></Path></Paths>)";
const char kPlanePaths[] = R"(<Paths><Path><p p="0;100"/><p p="1024;50"/></Path></Paths>)";
const char kCarPaths[] = R"(<Paths>
  <Path><p p="300;180"/><p p="600;180"/><p p="900;180"/></Path>
  <Path><p p="385;70"/><p p="385;400"/><p p="385;660"/></Path>
</Paths>)";

// The map's "Bg" in an open scene with the groups' parents, the traffic's templates as the
// mover classes, and its four paths files in memory.
class MapTrafficTest : public EffectTest {
protected:
    MapTrafficTest() {
        for (const char* human : {"Human1", "Human2", "Human3", "Human4", "Human5", "Human6"})
            addTemplate(u"GPedestrianNode", human);
        addTemplate(u"GScooterNode", "MapScooter1");
        addTemplate(u"GScooterNode", "MapScooter2");
        addTemplate(u"GPlaneNode", "MapAirplane");
        for (const char* car : {"MapCar1", "MapCar2", "MapCar3"})
            addTemplate(u"GCarNode", car);
        templates->OnLoaded();
        files->add(u"scenes/MapHumanPaths.xml", kHumanPaths);
        files->add(u"scenes/MapScooterPaths.xml", kScooterPaths);
        files->add(u"scenes/MapPlanePaths.xml", kPlanePaths);
        files->add(u"scenes/MapCarPaths.xml", kCarPaths);
    }

    void addTemplate(const char16_t* type, const char* templateName) {
        const CRefPointer<BaseNode> model = create(type);
        model->setName(name(templateName));
        model->setVisible(false);
        templates->appendChild(model.get());
    }
    // The map's background with the named group parents, bound, and the paths read.
    void buildMap(std::vector<const char*> parents = {"Sea", "Birds", "Human", "Cars"}) {
        if (bg)
            scene->removeChild(bg.get());
        bg = make<BaseNode>();
        bg->setName(name("Bg"));
        for (const char* parent : parents)
            make<BaseNode>(bg.get())->setName(name(parent));
        traffic.bind(bg.get());
        traffic.loadPaths(*files);
    }
    BaseNode& parentOf(Group group) { return *traffic.getParent(group); }
    std::vector<BaseNode*> movers(Group group) {
        std::vector<BaseNode*> found;
        BaseNode* parent = traffic.getParent(group);
        for (uint32_t i = 0; parent != nullptr && i < parent->getChildCount(); ++i)
            found.push_back(parent->getChild(i));
        return found;
    }
    static std::string nameOf(const BaseNode& node) { return node.getName().toString().c_str(); }
    static CVector2d at(const BaseNode& node) {
        return {node.getPosition().x, node.getPosition().y};
    }
    static CVector2d pointOf(const GPath& path, uint32_t index) {
        return {path.points[index].x, path.points[index].y};
    }
    GPath* path(Group group, uint32_t index) { return traffic.getPaths(group).getPath(index); }

    CRefPointer<MemoryFileSystem> files{new MemoryFileSystem()};
    CRefPointer<BaseNode> bg;
    GMapTraffic traffic;
};

// What one update spawns when every timer has run out, drawn from a copy of the engine's
// generator: the groups in their order, each group's numbers in its order.
struct ExpectedSpawn {
    bool scooterReversed = false;
    float scooterSpeed = 0;
    std::string pedestrian;
    uint32_t pedestrianPath = 0;
    bool pedestrianReversed = false;
    float pedestrianSpeed = 0;
    std::string car;
    uint32_t carPath = 0;
    float carSpeed = 0;
};

ExpectedSpawn replaySpawns(CRandom& random, bool scooters, bool plane, bool cars) {
    ExpectedSpawn spawn;
    if (scooters) {
        spawn.scooterReversed = random.nextMwc() % 2 == 0;
        random.nextIntInRange(10000, 20000);
        spawn.scooterSpeed = 50 + 30 * random.nextUnitFloat(); // the new scooter's own speed
    }
    if (plane) {
        random.nextIntInRange(30000, 40000);
        random.nextUnitFloat(); // the new plane's own speed
    }
    random.nextIntInRange(700, 2000);
    spawn.pedestrianReversed = random.nextMwc() % 2 == 0;
    spawn.pedestrian = "Human" + std::to_string(1 + random.nextMwc() % 6);
    spawn.pedestrianPath = random.nextMwc() % 2;
    spawn.pedestrianSpeed = random.nextFloatInRange(5, 15);
    if (cars) {
        random.nextIntInRange(10000, 12000);
        random.nextMwc();
        spawn.car = "MapCar" + std::to_string(1 + random.nextMwc() % 3);
        spawn.carPath = random.nextMwc() % 2;
        spawn.carSpeed = random.nextFloatInRange(80, 120);
    }
    return spawn;
}

TEST_F(MapTrafficTest, TheFirstUpdateSpawnsOneOfEachGroupDrawingInTheGroupsOrder) {
    struct Case {
        const char* what;
        std::vector<const char*> parents;
        bool planeFile;
    };
    const Case cases[] = {
        {"every group", {"Sea", "Birds", "Human", "Cars"}, true},
        {"no \"Cars\" node", {"Sea", "Birds", "Human"}, true},
        {"no plane paths file", {"Sea", "Birds", "Human", "Cars"}, false},
    };
    for (const Case& c : cases) {
        if (!c.planeFile)
            files = CRefPointer<MemoryFileSystem>(new MemoryFileSystem());
        files->add(u"scenes/MapHumanPaths.xml", kHumanPaths);
        files->add(u"scenes/MapScooterPaths.xml", kScooterPaths);
        files->add(u"scenes/MapCarPaths.xml", kCarPaths);
        traffic = GMapTraffic();
        buildMap(c.parents);
        const bool cars = traffic.getParent(GMapTraffic::GROUP_CARS) != nullptr;
        const CRefPointer<CRandom> replay(new CRandom(random()));
        const ExpectedSpawn expected = replaySpawns(*replay, true, c.planeFile, cars);

        traffic.update(0);
        EXPECT_TRUE(movers(GMapTraffic::GROUP_PEDESTRIANS).empty()) << "no time has passed";
        traffic.update(1);
        EXPECT_EQ(random().nextMwc(), replay->nextMwc()) << c.what << ": nothing else drawn";

        const std::vector<BaseNode*> scooters = movers(GMapTraffic::GROUP_SCOOTERS);
        ASSERT_EQ(scooters.size(), 1u) << c.what;
        EXPECT_EQ(nameOf(*scooters[0]), expected.scooterReversed ? "MapScooter1" : "MapScooter2");
        EXPECT_FLOAT_EQ(static_cast<GPathMovableNode*>(scooters[0])->getSpeed(),
                        expected.scooterSpeed);
        EXPECT_TRUE(scooters[0]->isVisible());
        EXPECT_EQ(movers(GMapTraffic::GROUP_PLANE).size(), c.planeFile ? 1u : 0u) << c.what;

        const std::vector<BaseNode*> pedestrians = movers(GMapTraffic::GROUP_PEDESTRIANS);
        ASSERT_EQ(pedestrians.size(), 1u) << c.what;
        auto* pedestrian = static_cast<GPathMovableNode*>(pedestrians[0]);
        EXPECT_EQ(nameOf(*pedestrian), expected.pedestrian);
        GPath* walked = path(GMapTraffic::GROUP_PEDESTRIANS, expected.pedestrianPath);
        EXPECT_EQ(pedestrian->getPath(), walked);
        EXPECT_EQ(at(*pedestrian), pointOf(*walked, expected.pedestrianReversed ? 1 : 0));
        EXPECT_FLOAT_EQ(pedestrian->getSpeed(), expected.pedestrianSpeed);

        const std::vector<BaseNode*> carNodes = movers(GMapTraffic::GROUP_CARS);
        ASSERT_EQ(carNodes.size(), cars ? 1u : 0u) << c.what;
        if (cars) {
            auto* car = static_cast<GCarNode*>(carNodes[0]);
            EXPECT_EQ(nameOf(*car), expected.car);
            EXPECT_EQ(at(*car), pointOf(*path(GMapTraffic::GROUP_CARS, expected.carPath), 0));
            EXPECT_FLOAT_EQ(car->getSpeed(), expected.carSpeed);
        }
    }
}

TEST_F(MapTrafficTest, ScootersRunTheirPathBackwardsFromMapScooter1AndOnwardFromMapScooter2) {
    buildMap({"Sea"});
    GPath* sea = path(GMapTraffic::GROUP_SCOOTERS, 0);
    std::set<std::string> seen;
    for (int spawn = 0; spawn < 12; ++spawn)
        traffic.update(20001);
    for (BaseNode* scooter : movers(GMapTraffic::GROUP_SCOOTERS)) {
        const bool reversed = nameOf(*scooter) == "MapScooter1";
        EXPECT_EQ(at(*scooter), pointOf(*sea, reversed ? 1 : 0)) << nameOf(*scooter);
        seen.insert(nameOf(*scooter));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"MapScooter1", "MapScooter2"}));
}

TEST_F(MapTrafficTest, ASetOfOnePathGivesEveryMoverOfTheGroupThatPath) {
    files->add(u"scenes/MapHumanPaths.xml", R"(<Paths><Path><p p="0;0"/><p p="90;0"/></Path>
        </Paths>)");
    buildMap({"Human"});
    for (int spawn = 0; spawn < 20; ++spawn)
        traffic.update(2001);
    ASSERT_EQ(movers(GMapTraffic::GROUP_PEDESTRIANS).size(), 20u);
    for (BaseNode* pedestrian : movers(GMapTraffic::GROUP_PEDESTRIANS))
        EXPECT_EQ(static_cast<GPathMovableNode*>(pedestrian)->getPath(),
                  path(GMapTraffic::GROUP_PEDESTRIANS, 0));
}

TEST_F(MapTrafficTest, ArrivalPlacesFortyPedestriansSpreadAlongTheirStreets) {
    buildMap();
    traffic.placeInitialPedestrians();
    const std::vector<BaseNode*> pedestrians = movers(GMapTraffic::GROUP_PEDESTRIANS);
    ASSERT_EQ(pedestrians.size(), 40u);
    std::set<std::string> looks;
    for (BaseNode* node : pedestrians) {
        auto* pedestrian = static_cast<GPathMovableNode*>(node);
        const float speed = pedestrian->getSpeed();
        EXPECT_GE(speed, 5.f);
        EXPECT_LT(speed, 15.f);
        const bool reversed = pedestrian->getTargetIndex() == 0;
        const float start = reversed ? 2000.f : 0.f;
        const double walkedMs = std::fabs(at(*node).x - start) / speed * 1000;
        EXPECT_GE(walkedMs, 4999.0) << "spread by at least 5 seconds";
        EXPECT_LT(walkedMs, 100001.0) << "spread by less than 100 seconds";
        EXPECT_TRUE(node->isVisible());
        looks.insert(nameOf(*node));
    }
    EXPECT_EQ(looks.size(), 6u) << "every look among forty";
    EXPECT_TRUE(movers(GMapTraffic::GROUP_CARS).empty());

    // Without a street to walk there is nobody to place, and nothing is drawn for it.
    files = CRefPointer<MemoryFileSystem>(new MemoryFileSystem());
    traffic = GMapTraffic();
    buildMap();
    const CRefPointer<CRandom> untouched(new CRandom(random()));
    traffic.placeInitialPedestrians();
    EXPECT_TRUE(movers(GMapTraffic::GROUP_PEDESTRIANS).empty());
    EXPECT_EQ(random().nextMwc(), untouched->nextMwc());
}

TEST_F(MapTrafficTest, AfterTenMinutesTheMoversThatFinishedHaveLeftTheMap) {
    files->add(u"scenes/MapHumanPaths.xml", R"(<Paths><Path><p p="0;0"/><p p="100;0"/></Path>
        <Path><p p="0;50"/><p p="60;50"/><p p="60;120"/></Path></Paths>)");
    buildMap();
    traffic.placeInitialPedestrians();
    size_t mostInSecondHalf = 0;
    size_t fewestInSecondHalf = SIZE_MAX;
    for (int ms = 0; ms < 600000; ms += 100) {
        traffic.update(100);
        draw();
        tick(100);
        size_t count = 0;
        for (uint32_t group = 0; group < GMapTraffic::GROUP_COUNT; ++group)
            count += movers(Group(group)).size();
        if (ms >= 300000) {
            mostInSecondHalf = std::max(mostInSecondHalf, count);
            fewestInSecondHalf = std::min(fewestInSecondHalf, count);
        }
    }
    // A pedestrian comes every 0.7 to 2 s and walks for at most half a minute.
    EXPECT_LE(mostInSecondHalf, 60u);
    EXPECT_GT(fewestInSecondHalf, 0u);
}

// The traffic as the game ships it: the menus' templates and the four paths files of the
// content, on a scene of the game's scene manager whose clock the test moves.
class MapTrafficContentTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // The harness's clock starts the game at time 0, whose seed leaves the generator's
        // multiply-with-carry half at 0: every value it gives would be even.
        CEngineServices::instance()->getRandom()->seed(20261211);
        scene = plainScene();
        bg = CRefPointer<BaseNode>(new BaseNode(CContentKey(), scene.get(), nullptr));
        bg->setName(name("Bg"));
        for (const char* parent : {"Sea", "Birds", "Human", "Cars"})
            CRefPointer<BaseNode>(new BaseNode(CContentKey(), bg.get(), nullptr))
                ->setName(name(parent));
        manager().openScene(scene.get(), CNameId());
        traffic.bind(bg.get());
        traffic.loadPaths(*game.engine().getFileSystem());
    }
    void run(uint32_t ms) {
        traffic.update(ms);
        RenderList list;
        scene->collectDrawables(list);
        scene->getClock()->update(ms);
    }
    size_t moverCount() const {
        size_t count = 0;
        for (uint32_t group = 0; group < GMapTraffic::GROUP_COUNT; ++group)
            count += traffic.getParent(Group(group))->getChildCount();
        return count;
    }

    CRefPointer<SceneNode> scene;
    CRefPointer<BaseNode> bg;
    GMapTraffic traffic;
};

TEST_F(MapTrafficContentTest, TenMinutesOnTheShippedMapKeepTheMoversBounded) {
    for (uint32_t group = 0; group < GMapTraffic::GROUP_COUNT; ++group)
        EXPECT_GT(traffic.getPaths(Group(group)).getPathCount(), 0u) << group;
    traffic.placeInitialPedestrians();
    EXPECT_EQ(moverCount(), 40u);
    size_t most = 0;
    size_t fewest = SIZE_MAX;
    std::set<std::string> seen;
    for (int ms = 0; ms < 600000; ms += 100) {
        run(100);
        for (uint32_t group = 0; group < GMapTraffic::GROUP_COUNT; ++group) {
            BaseNode& parent = *traffic.getParent(Group(group));
            for (uint32_t i = 0; i < parent.getChildCount(); ++i)
                seen.insert(parent.getChild(i)->getName().toString().c_str());
        }
        if (ms >= 300000) {
            most = std::max(most, moverCount());
            fewest = std::min(fewest, moverCount());
        }
    }
    EXPECT_EQ(seen.size(), 12u) << "every template took to the map";
    // A pedestrian comes every 0.7 to 2 s and leaves at its street's end within two minutes.
    EXPECT_LE(most, 80u);
    EXPECT_GT(fewest, 5u);
}

TEST_F(MapTrafficContentTest, AShippedCarShowsThePictureTurnedToTheFrameOfItsHeading) {
    struct Case {
        float heading;
        float frameAngle;
    };
    const Case cases[] = {{2, 0},     {13, 20},      {90, 84.2f}, {180, 180},
                          {190, 185}, {350, 350.9f}, {359, 0}};
    for (const char* look : {"MapCar1", "MapCar2", "MapCar3"}) {
        BaseNode* model = manager().getTemplateCollection()->getTemplate(name(look));
        ASSERT_TRUE(model && model->isKindOf(GCarNode::kTypeId)) << look;
        const CRefPointer<BaseNode> copy = model->clone(bg.get(), nullptr);
        auto& car = static_cast<GCarNode&>(*copy);
        BaseNode* body = car.findChild(name("Body"), 1);
        ASSERT_NE(body, nullptr);
        for (const Case& c : cases) {
            car.setRotation(c.heading);
            EXPECT_NEAR(body->getRotation().z, -c.frameAngle, 0.01f) << look << " " << c.heading;
        }
    }
}

TEST_F(MapTrafficContentTest, AShippedScooterKeepsItsColourThroughItsTilts) {
    for (int spawn = 0; spawn < 3; ++spawn) {
        traffic.update(20001);
        run(0);
    }
    BaseNode& sea = *traffic.getParent(GMapTraffic::GROUP_SCOOTERS);
    ASSERT_EQ(sea.getChildCount(), 3u);
    std::vector<const CAtlasTexture*> colours;
    std::set<float> tilts;
    for (uint32_t i = 0; i < sea.getChildCount(); ++i) {
        auto* body = static_cast<SpriteNode*>(sea.getChild(i)->findChild(name("Body"), 1));
        ASSERT_NE(body->getImage(), nullptr);
        colours.push_back(body->getImage());
    }
    for (int ms = 0; ms < 3000; ms += 20) {
        scene->getClock()->update(20);
        for (uint32_t i = 0; i < sea.getChildCount(); ++i) {
            auto* body = static_cast<SpriteNode*>(sea.getChild(i)->findChild(name("Body"), 1));
            EXPECT_EQ(body->getImage(), colours[i]) << i << " at " << ms << " ms";
            tilts.insert(body->getRotation().z);
        }
    }
    EXPECT_GE(tilts.size(), 2u) << "the scooters lean with the waves of their path";
}

} // namespace
