#include "engine/ui/ParticleQuads.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"

namespace {

// A 20 x 10 pixel frame in the top right quarter of its texture.
ParticleFrame quarterFrame() {
    ParticleFrame frame;
    frame.left = 0.5f;
    frame.top = 0;
    frame.right = 1;
    frame.bottom = 0.5f;
    frame.width = 20;
    frame.height = 10;
    return frame;
}

Particle particleAt(float x, float y) {
    Particle p{};
    p.x = x;
    p.y = y;
    p.size = 1;
    p.r = p.g = p.b = p.a = 1;
    return p;
}

std::vector<float> corners(CGeometryBuffer& geometry, uint32_t quad) {
    std::vector<float> xy;
    for (uint32_t v = 4 * quad; v < 4 * quad + 4; ++v) {
        xy.push_back(geometry.vertices()[v].position.x);
        xy.push_back(geometry.vertices()[v].position.y);
    }
    return xy;
}

TEST(ParticleQuadsTest, TheGeometryGrowsToOneQuadPerParticleAndNeverShrinks) {
    CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
    const ParticleFrame frame = quarterFrame();
    ASSERT_TRUE(sizeParticleGeometry(*geometry, 10, frame));
    EXPECT_EQ(geometry->getVertexCount(), 40u);
    EXPECT_EQ(geometry->getIndexCount(), 60u);
    EXPECT_EQ(geometry->primitiveCount, 20u);
    for (uint32_t k = 0; k < 10; ++k) {
        const uint16_t* six = geometry->getIndices() + 6 * k;
        const uint16_t q = uint16_t(4 * k);
        EXPECT_EQ(std::vector<uint16_t>(six, six + 6),
                  (std::vector<uint16_t>{q, uint16_t(q + 1), uint16_t(q + 2), q, uint16_t(q + 2),
                                         uint16_t(q + 3)}))
            << k;
        const CVertex* quad = geometry->vertices() + 4 * k;
        EXPECT_EQ(quad[0].texCoord, CVector2d(0.5f, 0));
        EXPECT_EQ(quad[1].texCoord, CVector2d(1, 0));
        EXPECT_EQ(quad[2].texCoord, CVector2d(1, 0.5f));
        EXPECT_EQ(quad[3].texCoord, CVector2d(0.5f, 0.5f));
    }

    ASSERT_TRUE(sizeParticleGeometry(*geometry, 6, frame));
    EXPECT_EQ(geometry->getVertexCount(), 40u);
    EXPECT_EQ(geometry->getIndexCount(), 60u);
    EXPECT_EQ(geometry->primitiveCount, 12u);

    ParticleFrame whole = frame;
    whole.left = 0;
    whole.bottom = 1;
    refreshParticleTextureCoordinates(*geometry, whole);
    EXPECT_EQ(geometry->vertices()[38].texCoord, CVector2d(1, 1));
    EXPECT_EQ(geometry->vertices()[39].texCoord, CVector2d(0, 1));
}

TEST(ParticleQuadsTest, MoreParticlesThanSixteenBitIndicesReachDrawOnlyTheQuadsHeld) {
    CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
    ASSERT_TRUE(sizeParticleGeometry(*geometry, 100, quarterFrame()));
    EXPECT_FALSE(sizeParticleGeometry(*geometry, 16384, quarterFrame()));
    EXPECT_EQ(geometry->getVertexCount(), 400u);
    EXPECT_EQ(geometry->primitiveCount, 200u);
    EXPECT_TRUE(sizeParticleGeometry(*geometry, 16383, quarterFrame()));
    EXPECT_EQ(geometry->getVertexCount(), 65532u);
    EXPECT_EQ(geometry->getIndices()[6 * 16382 + 5], 65531);
}

TEST(ParticleQuadsTest, QuadsAreScaledAndTurnedByWholeDegreesTowardZero) {
    struct Case {
        float angle;
        float size;
        std::vector<float> xy;
    };
    const Case cases[] = {
        {0, 1, {90, 45, 110, 45, 110, 55, 90, 55}},
        {-0.9f, 1, {90, 45, 110, 45, 110, 55, 90, 55}},
        {0, 0.5f, {95, 47.5f, 105, 47.5f, 105, 52.5f, 95, 52.5f}},
        // A quarter turn: the corners move clockwise on screen (y grows downward).
        {90.7f, 1, {105, 40, 105, 60, 95, 60, 95, 40}},
        {-270, 1, {105, 40, 105, 60, 95, 60, 95, 40}},
        {NAN, 1, {90, 45, 110, 45, 110, 55, 90, 55}},
        // Past what an int holds: 5965248 whole turns.
        {2147489280.0f, 1, {90, 45, 110, 45, 110, 55, 90, 55}},
        {-2147489280.0f, 1, {90, 45, 110, 45, 110, 55, 90, 55}},
    };
    for (const Case& c : cases) {
        CArray<Particle> particles;
        Particle p = particleAt(100, 50);
        p.angle = c.angle;
        p.size = c.size;
        particles.append(p);
        CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
        sizeParticleGeometry(*geometry, 1, quarterFrame());
        writeParticleQuads(*geometry, particles, quarterFrame(), CColor(0xFFFFFFFF));
        const std::vector<float> xy = corners(*geometry, 0);
        ASSERT_EQ(xy.size(), c.xy.size());
        for (size_t i = 0; i < xy.size(); ++i)
            EXPECT_NEAR(xy[i], c.xy[i], 1e-4) << c.angle << " corner value " << i;
    }
}

TEST(ParticleQuadsTest, TheTurnIsTheWholeDegreeBelow) {
    CArray<Particle> particles;
    Particle p = particleAt(0, 0);
    p.angle = 359.9f;
    particles.append(p);
    p.angle = 359;
    particles.append(p);
    CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
    sizeParticleGeometry(*geometry, 2, quarterFrame());
    writeParticleQuads(*geometry, particles, quarterFrame(), CColor(0xFFFFFFFF));
    EXPECT_EQ(corners(*geometry, 0), corners(*geometry, 1));
}

TEST(ParticleQuadsTest, ColoursSaturateAndTakeTheTint) {
    struct Case {
        CColorf colour;
        uint32_t tint;
        uint32_t argb;
    };
    const Case cases[] = {
        {{1, 0.5f, 0, 1}, 0xFFFFFFFF, 0xFFFF7F00},
        // A channel drifted past 1 (or below 0) stays full (or empty) instead of wrapping.
        {{1.2f, 1, -0.1f, 1.5f}, 0xFFFFFFFF, 0xFFFFFF00},
        {{1, 1, 1, 1}, 0x80FF8000, 0x80FF8000},
    };
    for (const Case& c : cases) {
        CArray<Particle> particles;
        Particle p = particleAt(0, 0);
        p.r = c.colour.r;
        p.g = c.colour.g;
        p.b = c.colour.b;
        p.a = c.colour.a;
        particles.append(p);
        CRefPointer<CGeometryBuffer> geometry(new CGeometryBuffer());
        sizeParticleGeometry(*geometry, 1, quarterFrame());
        writeParticleQuads(*geometry, particles, quarterFrame(), CColor(c.tint));
        for (uint32_t v = 0; v < 4; ++v)
            EXPECT_EQ(geometry->vertices()[v].color.value, c.argb) << std::hex << c.argb;
    }
}

} // namespace
