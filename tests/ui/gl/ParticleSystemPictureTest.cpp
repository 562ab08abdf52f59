#include <cmath>

#include <gtest/gtest.h>

#include "engine/ui/ParticleSystemNode.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/QuadBatcher.h"
#include "support/GoldenImage.h"
#include "video/opengl/GLDriverFixture.h"

// A particle system drawn by the OpenGL driver through its own transform, compared with its
// golden picture.
namespace {

using ParticleSystemPictureTest = GLDriverTest;

// 32 x 16: on the left half (the particles' frame) a soft white disc under a bar that shows
// which way a particle is turned; a red patch on the right half, clear of the frame's edges.
uint32_t pageTexel(int32_t x, int32_t y) {
    if (x >= 16)
        return x >= 20 && x < 28 ? 0xFFFF0000u : 0;
    if (y >= 1 && y < 4 && x >= 4 && x < 12)
        return 0xFFFFFFFFu;
    const float dx = float(x) - 7.5f;
    const float dy = float(y) - 7.5f;
    const float fade = 1.0f - std::sqrt(dx * dx + dy * dy) / 8.0f;
    const uint32_t alpha = fade > 0 ? uint32_t(fade * 255.0f) : 0;
    return alpha << 24 | 0xFFFFFFu;
}

Particle particleAt(float x, float y, float size, float angle, CColorf colour) {
    Particle p{};
    p.x = x;
    p.y = y;
    p.size = size;
    p.angle = angle;
    p.r = colour.r;
    p.g = colour.g;
    p.b = colour.b;
    p.a = colour.a;
    p.lifetime = 1000;
    return p;
}

TEST_F(ParticleSystemPictureTest, TurnedTintedQuadsThroughTheNodesTransform) {
    open(glParameters(64, 48));
    CImageTexture* page = imageTexture(makeTestImage(32, 16, pageTexel));
    CRefPointer<CAtlasTexture> texture(new CAtlasTexture(
        CContentKey(), CRefPointer<CImageTexture>::share(page), CRect(0, 0, 0.5f, 1), {}, {}));
    CRefPointer<ParticleSystemNode> node(new ParticleSystemNode(CContentKey(), nullptr, nullptr));
    node->setTexture(texture.get());
    node->setPosition({8, 4, 0});
    node->setTintColor(CColor(0xFFFFFFC0));
    CArray<Particle>& particles = node->getParticles();
    particles.append(particleAt(8, 8, 1, 0, {1, 1, 1, 1}));
    particles.append(particleAt(30, 14, 2, 45, {1, 0.3f, 0.3f, 1}));
    particles.append(particleAt(18, 32, 1.5f, 0, {0.2f, 1, 0.2f, 0.5f}));
    particles.append(particleAt(44, 34, 1, 30, {1, 1, 0, 1}));
    RenderList list;
    node->collectDrawables(list);
    node->OnUpdate(0);

    begin2D(CColor(0xFF202040));
    node->render(driver.get(), nullptr);
    driver->getQuadBatcher()->end();
    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "ui-particle-system"));
}

} // namespace
