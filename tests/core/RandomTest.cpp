#include "engine/core/Random.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/core/RefPointer.h"

namespace {

CRefPointer<CRandom> makeRandom() {
    return CRefPointer<CRandom>(new CRandom);
}

// Seeding leaves the read index at 0, so the first 624 results are the tempered seeding words
// and the first twist comes at result 625; from there the stream is std::mt19937's.
TEST(RandomTest, TwisterIsStdMt19937ShiftedBy624) {
    for (uint32_t seed : {5489u, 0u, 1u, 0xFFFFFFFFu, 0x12345678u}) {
        auto random = makeRandom();
        random->seed(seed);
        for (int i = 0; i < 624; ++i)
            random->next();
        std::mt19937 reference(seed);
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(random->next(), reference()) << "seed " << seed << " result " << i;
    }
}

TEST(RandomTest, FirstResultsAreTheTemperedSeedingWords) {
    // Tempered words 0, 1, 2 and 623 of the state seeded with 5489 (std::mt19937's default).
    auto random = makeRandom();
    EXPECT_EQ(random->next(), 46662977u);
    EXPECT_EQ(random->next(), 1228475205u);
    EXPECT_EQ(random->next(), 930876788u);
    for (int i = 3; i < 623; ++i)
        random->next();
    EXPECT_EQ(random->next(), 1848438282u);
    random->seed(5489);
    EXPECT_EQ(random->next(), 46662977u);
}

TEST(RandomTest, MultiplyWithCarryAfterConstruction) {
    // From w = 0x29169588 and z = 0x38D4B27C.
    const uint32_t expected[] = {0x56C21396, 0x27404BF2, 0x8318ED01, 0xDB386B2B};
    auto random = makeRandom();
    for (uint32_t value : expected)
        EXPECT_EQ(random->nextMwc(), value);
}

TEST(RandomTest, SeedSetsWAndKeepsZ) {
    // Seeding with the constructor's w gives back the constructor's stream, since z is kept.
    auto random = makeRandom();
    random->seed(0x29169588);
    EXPECT_EQ(random->nextMwc(), 0x56C21396u);
    EXPECT_EQ(random->nextMwc(), 0x27404BF2u);
}

TEST(RandomTest, IntRangesDrawOneValueUnlessTheSpanWraps) {
    struct Case {
        int32_t a, b;
        bool draws;
    };
    const Case cases[] = {
        {3, 3, true}, {0, 9, true}, {-5, 5, true}, {INT32_MIN, INT32_MAX, false}, {0, -1, false}};
    for (const Case& c : cases) {
        auto random = makeRandom();
        auto reference = makeRandom();
        for (int i = 0; i < 50; ++i) {
            const int32_t value = random->nextIntInRange(c.a, c.b);
            if (!c.draws) {
                EXPECT_EQ(value, c.a);
                continue;
            }
            const uint32_t span = uint32_t(c.b) - uint32_t(c.a) + 1;
            EXPECT_EQ(value, int32_t(uint32_t(c.a) + reference->nextMwc() % span)) << c.a;
            EXPECT_GE(value, c.a);
            EXPECT_LE(value, c.b);
        }
        EXPECT_EQ(random->nextMwc(), reference->nextMwc()) << c.a << ".." << c.b;
    }
}

TEST(RandomTest, EmptyFloatRangesDrawNothing) {
    auto random = makeRandom();
    auto reference = makeRandom();
    EXPECT_EQ(random->nextFloatInRange(2, 2), 2.0f);
    EXPECT_EQ(random->nextFloatInRangeMt(-1, -1), -1.0f);
    EXPECT_EQ(random->nextMwc(), reference->nextMwc());
    EXPECT_EQ(random->next(), reference->next());
}

TEST(RandomTest, UnitFloatRoundsTheLargestValuesToOne) {
    // After this seed the sixth multiply-with-carry value is 4294967168, the smallest that
    // rounds up to 2^32 as a float.
    const uint32_t seed = 121820308;
    auto random = makeRandom();
    random->seed(seed);
    for (int i = 0; i < 5; ++i)
        EXPECT_LT(random->nextUnitFloat(), 1.0f);
    EXPECT_EQ(random->nextUnitFloat(), 1.0f);

    auto ranged = makeRandom();
    ranged->seed(seed);
    for (int i = 0; i < 5; ++i)
        ranged->nextFloatInRange(2, 4);
    EXPECT_EQ(ranged->nextFloatInRange(2, 4), 4.0f);
}

TEST(RandomTest, FloatRangesStayWithinTheirEnds) {
    auto random = makeRandom();
    for (int i = 0; i < 1000; ++i) {
        const float mwc = random->nextFloatInRange(-3, 5);
        const float mt = random->nextFloatInRangeMt(10, 20);
        EXPECT_TRUE(mwc >= -3 && mwc <= 5) << mwc;
        EXPECT_TRUE(mt >= 10 && mt <= 20) << mt;
    }
}

} // namespace
