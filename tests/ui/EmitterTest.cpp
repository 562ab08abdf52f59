#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Scheduler.h"
#include "engine/ui/BaseEmitter.h"
#include "engine/ui/PointEmitter.h"
#include "engine/ui/RectangleEmitter.h"
#include "ui/ParticleServices.h"

namespace {

class EmitterTest : public ParticleServicesTest {
protected:
    EmitterTest() { particles.reallocate(500); }

    template <typename Emitter>
    CRefPointer<Emitter> make() {
        CRefPointer<Emitter> emitter(new Emitter(CContentKey()));
        emitter->bindParticles(&particles);
        return emitter;
    }

    // The particle counts after each tick.
    std::vector<uint32_t> tick(BaseEmitter& emitter, int ticks, uint32_t ms) {
        std::vector<uint32_t> counts;
        for (int i = 0; i < ticks; ++i) {
            emitter.OnUpdate(ms);
            counts.push_back(particles.size());
        }
        return counts;
    }

    CArray<Particle> particles;
};

bool within(float value, CVector2d range) {
    const float low = std::fmin(range.x, range.y);
    const float high = std::fmax(range.x, range.y);
    return value >= low && value <= high;
}

TEST_F(EmitterTest, TenPerSecondComeEveryHundredMillisecondsWithoutTouchingTheGenerator) {
    CRefPointer<PointEmitter> emitter = make<PointEmitter>();
    emitter->setPpsRange({10, 10});
    emitter->setLifeTimeRange({1500, 1500});
    emitter->setOrigin({3, 4});
    CRandom untouched = random();

    // The carry left after 120 ms is 20, after 210 ms 10, after 300 ms 0.
    EXPECT_EQ(tick(*emitter, 10, 30), (std::vector<uint32_t>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3}));
    EXPECT_EQ(random().nextMwc(), untouched.nextMwc());
    for (const Particle& p : particles) {
        EXPECT_EQ(p.x, 3);
        EXPECT_EQ(p.y, 4);
        EXPECT_EQ(p.lifetime, 1500u);
        EXPECT_EQ(p.age, 0);
    }
}

TEST_F(EmitterTest, RatesOfZeroOrLessOrNoneEmitNothing) {
    const CVector2d rates[] = {{0, 0}, {-20, -20}, {NAN, NAN}, {INFINITY, INFINITY}};
    for (const CVector2d rate : rates) {
        particles.reallocate(500);
        CRefPointer<PointEmitter> emitter = make<PointEmitter>();
        emitter->setPpsRange(rate);
        EXPECT_EQ(tick(*emitter, 3, 1000).back(), 0u) << rate.x;
        EXPECT_TRUE(emitter->OnUpdate(30));
    }
}

TEST_F(EmitterTest, AFullArrayTakesWhatFitsAndDropsTheRest) {
    CRefPointer<PointEmitter> emitter = make<PointEmitter>();
    for (int i = 0; i < 498; ++i)
        particles.append(Particle{});
    emitter->setPpsRange({50, 50});
    emitter->OnUpdate(100); // five particles due
    EXPECT_EQ(particles.size(), 500u);
    EXPECT_EQ(particles.allocated(), 500u);
    // The surplus is not owed later.
    particles.reallocate(0);
    particles.reallocate(10);
    emitter->OnUpdate(10);
    EXPECT_EQ(particles.size(), 0u);
}

TEST_F(EmitterTest, PointParticlesStartInsideTheirRangesOnTheRing) {
    CRefPointer<PointEmitter> emitter = make<PointEmitter>();
    emitter->setPpsRange({1000, 1000});
    emitter->setLifeTimeRange({100, 900});
    emitter->radiusRange = {10, 20};
    emitter->velocityXRange = {-5, 5};
    emitter->velocityYRange = {1, 2};
    emitter->accelerationXRange = {-1, 0};
    emitter->accelerationYRange = {3, 4};
    emitter->angleRange = {0, 360};
    emitter->angVelocityRange = {-90, -45};
    emitter->OnUpdate(200);
    ASSERT_EQ(particles.size(), 200u);

    bool quadrants[4] = {};
    for (const Particle& p : particles) {
        EXPECT_TRUE(within(std::hypot(p.x, p.y), {9.999f, 20.001f})) << p.x << "," << p.y;
        quadrants[(p.x < 0 ? 1 : 0) + (p.y < 0 ? 2 : 0)] = true;
        EXPECT_TRUE(within(float(p.lifetime), emitter->getLifeTimeRange()));
        EXPECT_TRUE(within(p.vx, emitter->velocityXRange));
        EXPECT_TRUE(within(p.vy, emitter->velocityYRange));
        EXPECT_TRUE(within(p.ax, emitter->accelerationXRange));
        EXPECT_TRUE(within(p.ay, emitter->accelerationYRange));
        EXPECT_TRUE(within(p.angle, emitter->angleRange));
        EXPECT_TRUE(within(p.angularVelocity, emitter->angVelocityRange));
        EXPECT_EQ(p.angularAcceleration, 0);
        EXPECT_EQ(p.size, 1);
        EXPECT_EQ(p.sizeSpeed, 0);
    }
    EXPECT_TRUE(quadrants[0] && quadrants[1] && quadrants[2] && quadrants[3]);
}

// The draws come in a fixed order, which decides what a seeded generator produces.
TEST_F(EmitterTest, PointParticleDrawsFollowTheFixedOrder) {
    CRefPointer<PointEmitter> emitter = make<PointEmitter>();
    emitter->setPpsRange({10, 20});
    emitter->setLifeTimeRange({1000, 3000});
    emitter->radiusRange = {5, 10};
    emitter->velocityXRange = {1, 2};
    emitter->velocityYRange = {3, 4};
    emitter->accelerationXRange = {5, 6};
    emitter->accelerationYRange = {7, 8};
    emitter->angleRange = {9, 10};
    emitter->angVelocityRange = {11, 12};
    CRandom mirror = random();

    emitter->OnUpdate(1000);
    mirror.nextFloatInRange(10, 20); // the rate: at least ten particles
    ASSERT_GE(particles.size(), 10u);
    const float radius = mirror.nextFloatInRange(5, 10);
    const uint32_t degrees = mirror.nextMwc() % 360;
    const Particle& p = particles[0];
    EXPECT_EQ(p.x, radius * sinTable[(degrees + 90) % 360]);
    EXPECT_EQ(p.y, radius * sinTable[degrees]);
    EXPECT_EQ(p.lifetime, uint32_t(mirror.nextFloatInRange(1000, 3000)));
    EXPECT_EQ(p.vx, mirror.nextFloatInRange(1, 2));
    EXPECT_EQ(p.vy, mirror.nextFloatInRange(3, 4));
    EXPECT_EQ(p.ax, mirror.nextFloatInRange(5, 6));
    EXPECT_EQ(p.ay, mirror.nextFloatInRange(7, 8));
    EXPECT_EQ(p.angle, mirror.nextFloatInRange(9, 10));
    EXPECT_EQ(p.angularVelocity, mirror.nextFloatInRange(11, 12));
    EXPECT_EQ(particles[1].x,
              mirror.nextFloatInRange(5, 10) * sinTable[(mirror.nextMwc() + 90) % 360])
        << "the second particle draws after the first";
}

TEST_F(EmitterTest, RectangleParticlesStartInTheFrameOnAllFourSides) {
    CRefPointer<RectangleEmitter> emitter = make<RectangleEmitter>();
    emitter->setPpsRange({1000, 1000});
    emitter->setOrigin({100, 50});
    emitter->xRange = {10, 20};
    emitter->yRange = {5, 8};
    emitter->scaleRange = {2, 4};
    emitter->scaleVariation = 0.5f;
    emitter->setLifeTimeRange({2000, 2000});
    emitter->OnUpdate(300);
    ASSERT_EQ(particles.size(), 300u);

    bool sides[4] = {};
    for (const Particle& p : particles) {
        const float dx = p.x - 100;
        const float dy = p.y - 50;
        ASSERT_TRUE(std::fabs(dx) <= 20 && std::fabs(dy) <= 8) << dx << "," << dy;
        ASSERT_TRUE(std::fabs(dx) >= 10 || std::fabs(dy) >= 5) << dx << "," << dy;
        sides[0] |= dy >= 5;
        sides[1] |= dx >= 10;
        sides[2] |= dy <= -5;
        sides[3] |= dx <= -10;
        // The start size varies around the low end and reaches the high end at the end of life.
        EXPECT_TRUE(within(p.size, {1.5f, 2.5f})) << p.size;
        EXPECT_FLOAT_EQ(p.size + p.sizeSpeed * 2, 4);
    }
    EXPECT_TRUE(sides[0] && sides[1] && sides[2] && sides[3]);
}

TEST_F(EmitterTest, ColourAndSizeChangeLinearlyOverTheLife) {
    struct Case {
        uint32_t start;
        uint32_t end;
        CVector2d scale;
        CColorf colour;
        CColorf colourSpeed;
        float sizeSpeed;
    };
    const Case cases[] = {
        {0xFFFFFFFF, 0x00FFFFFF, {1, 3}, {1, 1, 1, 1}, {0, 0, 0, -0.5f}, 1},
        {0x80FF0000, 0x8000FF00, {2, 1}, {1, 0, 0, 128 / 255.f}, {-0.5f, 0.5f, 0, 0}, -0.5f},
    };
    for (const Case& c : cases) {
        particles.reallocate(0);
        particles.reallocate(1);
        CRefPointer<PointEmitter> emitter = make<PointEmitter>();
        emitter->setLifeTimeRange({2000, 2000});
        emitter->colorStart = CColor(c.start);
        emitter->colorEnd = CColor(c.end);
        emitter->scaleRange = c.scale;
        emitter->OnUpdate(100);
        ASSERT_EQ(particles.size(), 1u);
        const Particle& p = particles[0];
        EXPECT_FLOAT_EQ(p.r, c.colour.r);
        EXPECT_FLOAT_EQ(p.g, c.colour.g);
        EXPECT_FLOAT_EQ(p.b, c.colour.b);
        EXPECT_FLOAT_EQ(p.a, c.colour.a);
        EXPECT_NEAR(p.rSpeed, c.colourSpeed.r, 1e-6);
        EXPECT_NEAR(p.gSpeed, c.colourSpeed.g, 1e-6);
        EXPECT_NEAR(p.bSpeed, c.colourSpeed.b, 1e-6);
        EXPECT_NEAR(p.aSpeed, c.colourSpeed.a, 1e-6);
        EXPECT_EQ(p.size, c.scale.x);
        EXPECT_FLOAT_EQ(p.sizeSpeed, c.sizeSpeed);
    }
}

TEST_F(EmitterTest, NegativeAndZeroLifetimesGiveParticlesThatChangeNothing) {
    const CVector2d lifetimes[] = {{-500, -500}, {0, 0}, {-1e30f, -1e30f}};
    for (const CVector2d lifetime : lifetimes) {
        particles.reallocate(0);
        particles.reallocate(1);
        CRefPointer<RectangleEmitter> emitter = make<RectangleEmitter>();
        emitter->setLifeTimeRange(lifetime);
        emitter->colorEnd = CColor(0);
        emitter->scaleRange = {1, 5};
        emitter->OnUpdate(100);
        ASSERT_EQ(particles.size(), 1u);
        const Particle& p = particles[0];
        EXPECT_EQ(p.lifetime, 0u) << lifetime.x;
        for (float speed : {p.rSpeed, p.gSpeed, p.bSpeed, p.aSpeed, p.sizeSpeed})
            EXPECT_EQ(speed, 0) << lifetime.x;
    }
}

TEST_F(EmitterTest, WithoutAnArrayTheEmitterLeavesItsScheduler) {
    CRefPointer<CScheduler> clock(new CScheduler());
    CRefPointer<PointEmitter> unbound(new PointEmitter(CContentKey()));
    CRefPointer<BaseEmitter> base = make<BaseEmitter>();
    EXPECT_TRUE(unbound->attachToScheduler(clock.get()));
    base->attachToScheduler(clock.get());
    EXPECT_EQ(unbound->getInterval(), 30u);

    clock->update(30);
    EXPECT_EQ(unbound->getScheduler(), nullptr);
    EXPECT_EQ(base->getScheduler(), clock.get());
    EXPECT_EQ(particles.size(), 0u) << "the base class emits nothing";
    base->detachFromScheduler();
    EXPECT_EQ(base->getScheduler(), nullptr);
}

TEST_F(EmitterTest, ClassesAnswerTheirIdentity) {
    struct Case {
        CRefPointer<BaseEmitter> emitter;
        const char16_t* name;
        uint32_t id;
    };
    const Case cases[] = {
        {make<BaseEmitter>(), u"BaseEmitter", 0},
        {make<PointEmitter>(), u"PointEmitter", 1},
        {make<RectangleEmitter>(), u"RectangleEmitter", 2},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.emitter->getTypeName() == c.name);
        EXPECT_TRUE(c.emitter->getClassName() == c.name);
        EXPECT_EQ(c.emitter->getTypeId(), c.id);
        for (uint32_t id = 0; id < 3; ++id)
            EXPECT_EQ(c.emitter->isKindOf(id), id == 0 || id == c.id) << c.id << " " << id;
        EXPECT_EQ(c.emitter->getContentType(), contentType("pemt"));
        EXPECT_EQ(c.emitter->getHandOutMode(), 0u);
    }
}

// Every setting as its text, in the order saveProperties writes it.
std::vector<std::string> savedTexts(const BaseEmitter& emitter) {
    CRefPointer<CProperties> saved(new CProperties());
    emitter.saveProperties(*saved);
    std::vector<std::string> texts;
    for (int32_t i = 0; i < saved->getCount(); ++i)
        texts.push_back(std::string(saved->getNameAt(i).c_str()) + "=" +
                        saved->getValueAt(i)->toString().c_str());
    return texts;
}

CRefPointer<PointEmitter> configuredPointEmitter() {
    CRefPointer<PointEmitter> emitter(new PointEmitter(CContentKey()));
    emitter->setName("Sparks");
    emitter->setPpsRange({5, 6});
    emitter->setLifeTimeRange({100, 200});
    emitter->radiusRange = {1, 2};
    emitter->velocityXRange = {3, 4};
    emitter->accelerationXRange = {-1, 1};
    emitter->colorEnd = CColor(0x00FF00FF);
    emitter->colorVariation = 0.25f;
    emitter->scaleRange = {1, 3};
    emitter->scaleVariation = 0.5f;
    return emitter;
}

TEST_F(EmitterTest, SavesWhatDiffersFromTheDefaultsAndLoadsItBack) {
    EXPECT_TRUE(savedTexts(*make<RectangleEmitter>()).empty());

    CRefPointer<PointEmitter> emitter = configuredPointEmitter();
    const std::vector<std::string> texts = savedTexts(*emitter);
    EXPECT_EQ(
        texts,
        (std::vector<std::string>{
            "Name=Sparks", "PPSRange=5.000000;6.000000", "LifeTimeRange=100.000000;200.000000",
            "RadiusRange=1.000000;2.000000", "VelocityXRange=3.000000;4.000000",
            "AccelerationXRange=-1.000000;1.000000", "ColorEnd=00ff00ff", "ColorVariation=0.250000",
            "ScaleRange=1.000000;3.000000", "ScaleVariation=0.500000"}));

    CRefPointer<CProperties> saved(new CProperties());
    emitter->saveProperties(*saved);
    CRefPointer<PointEmitter> loaded(new PointEmitter(CContentKey()));
    loaded->loadProperties(*saved);
    EXPECT_EQ(savedTexts(*loaded), texts);
}

TEST_F(EmitterTest, LoadingTakesFileKeysAndZeroesValuesOfAnotherKind) {
    CRefPointer<RectangleEmitter> emitter = make<RectangleEmitter>();
    emitter->setLifeTimeRange({7, 8});
    CRefPointer<CProperties> set(new CProperties());
    set->addInt("Name", 42);
    set->addFloat("PPSRange", 3);
    set->addVector2d("AccelXRange", {5, 5});
    set->addVector2d("AccelerationYRange", {6, 7});
    set->addVector2d("XRange", {1, 2});
    set->addFloat("ColorStart", 1);
    emitter->loadProperties(*set);

    EXPECT_STREQ(emitter->getName().c_str(), "42");
    EXPECT_EQ(emitter->getPpsRange(), CVector2d(0, 0));
    EXPECT_EQ(emitter->accelerationXRange, CVector2d(0, 0)) << "the table's name is no file key";
    EXPECT_EQ(emitter->accelerationYRange, CVector2d(6, 7));
    EXPECT_EQ(emitter->xRange, CVector2d(1, 2));
    EXPECT_EQ(emitter->colorStart, CColor(0));
    EXPECT_EQ(emitter->getLifeTimeRange(), CVector2d(7, 8)) << "absent keys stay";
}

TEST_F(EmitterTest, CopiesKeepTheClassAndSettingsButNotTheBindingOrCarry) {
    CRefPointer<PointEmitter> emitter = configuredPointEmitter();
    emitter->setPpsRange({10, 10});
    emitter->bindParticles(&particles);
    emitter->setOrigin({5, 5});
    emitter->OnUpdate(90);

    CRefPointer<CContent> copy = emitter->makeCopy();
    auto* point = static_cast<PointEmitter*>(copy.get());
    ASSERT_TRUE(point->isKindOf(PointEmitter::kTypeId));
    EXPECT_EQ(savedTexts(*point), savedTexts(*emitter));
    EXPECT_EQ(point->getOrigin(), CVector2d(0, 0));
    EXPECT_EQ(point->getParticles(), nullptr);
    EXPECT_EQ(copy->getRefCount(), 1);

    CArray<Particle> own;
    own.reallocate(10);
    point->bindParticles(&own);
    point->OnUpdate(30);
    emitter->OnUpdate(30);
    EXPECT_EQ(own.size(), 0u);
    EXPECT_EQ(particles.size(), 1u);
}

// The names a property table lists, in order.
std::vector<std::string> tableNames(const BaseEmitter& emitter) {
    std::vector<std::string> names;
    for (const PropertyTableEntry& entry : emitter.getPropertyTable())
        names.push_back(entry.name.c_str());
    return names;
}

TEST_F(EmitterTest, PropertiesAreSetByTheirTableNames) {
    const std::vector<std::string> shared = {"VelocityXRange", "VelocityYRange", "AccelXRange",
                                             "AccelYRange",    "AngleRange",     "AngVelocityRange",
                                             "ColorStart",     "ColorEnd",       "ColorVariation",
                                             "ScaleRange",     "ScaleVariation"};
    std::vector<std::string> point = {"Name", "PPSRange", "LifeTimeRange", "RadiusRange"};
    point.insert(point.end(), shared.begin(), shared.end());
    std::vector<std::string> rectangle = {"Name", "PPSRange", "LifeTimeRange", "XRange", "YRange"};
    rectangle.insert(rectangle.end(), shared.begin(), shared.end());
    EXPECT_EQ(tableNames(*make<BaseEmitter>()),
              (std::vector<std::string>{"Name", "PPSRange", "LifeTimeRange"}));
    EXPECT_EQ(tableNames(*make<PointEmitter>()), point);
    EXPECT_EQ(tableNames(*make<RectangleEmitter>()), rectangle);

    CRefPointer<RectangleEmitter> emitter = make<RectangleEmitter>();
    auto set = [&](const char* name, CRefPointer<CPropertyData> value) {
        emitter->setPropertyByIndex(emitter->findProperty(name), value);
    };
    set("AccelXRange", CRefPointer<CPropertyData>(new CPropertyDataVector2d({2, 3})));
    set("ColorEnd", CRefPointer<CPropertyData>(new CPropertyDataColor(CColor(0x11223344))));
    set("Name", CRefPointer<CPropertyData>(new CPropertyDataFloat(1.5f)));
    set("ScaleRange", CRefPointer<CPropertyData>(new CPropertyDataFloat(2)));
    EXPECT_EQ(emitter->accelerationXRange, CVector2d(2, 3));
    EXPECT_EQ(emitter->colorEnd, CColor(0x11223344));
    EXPECT_STREQ(emitter->getName().c_str(), "1.500000");
    EXPECT_EQ(emitter->scaleRange, CVector2d(0, 0)) << "a value of another kind stores zero";
    EXPECT_EQ(emitter->findProperty("AccelerationXRange"), -1);
    EXPECT_STREQ(
        emitter->getPropertyByIndex(emitter->findProperty("AccelXRange"))->toString().c_str(),
        "2.000000;3.000000");
}

} // namespace
