#include "engine/video/RenderMaterial.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/video/RecordingRenderDriver.h"

namespace {

CMatrix4* makeMatrix(float value) {
    auto* matrix = new CMatrix4();
    matrix->set(0, 3, value);
    return matrix;
}

TEST(RenderMaterialTest, AssignCopiesOnlyTheUsedLayers) {
    RenderMaterial source;
    source.type = MATERIAL_TRANS_VERTEX_ALPHA;
    source.diffuseColor = CColor(0x80402010);
    source.typeParameter = 0.5f;
    source.lighting = false;
    source.depthTest = 0;
    source.layerCount = 2;
    source.layers[0].texture = fakeImageTexture(0);
    source.layers[1].texture = fakeImageTexture(1);
    source.layers[1].wrapMode = 2;
    source.layers[2].texture = fakeImageTexture(2);

    RenderMaterial target;
    target.layers[2].texture = fakeImageTexture(3);
    target.layers[3].anisotropy = 8;
    target.assign(source);

    EXPECT_EQ(target.type, uint32_t(MATERIAL_TRANS_VERTEX_ALPHA));
    EXPECT_EQ(target.diffuseColor.value, 0x80402010u);
    EXPECT_EQ(target.typeParameter, 0.5f);
    EXPECT_FALSE(target.lighting);
    EXPECT_EQ(target.depthTest, 0);
    EXPECT_EQ(target.layerCount, 2u);
    EXPECT_EQ(target.layers[0].texture, fakeImageTexture(0));
    EXPECT_EQ(target.layers[1].texture, fakeImageTexture(1));
    EXPECT_EQ(target.layers[1].wrapMode, 2);
    EXPECT_EQ(target.layers[2].texture, fakeImageTexture(3));
    EXPECT_EQ(target.layers[3].anisotropy, 8);
    EXPECT_FALSE(target.differsFrom(source));

    // A layer count past the four layers visits the four.
    RenderMaterial wide;
    wide.layerCount = 9;
    wide.layers[3].texture = fakeImageTexture(1);
    target.assign(wide);
    EXPECT_EQ(target.layers[3].texture, fakeImageTexture(1));
    EXPECT_FALSE(target.differsFrom(wide));
}

TEST(RenderMaterialTest, TextureMatricesAreDeepCopied) {
    RenderMaterial source;
    source.layers[0].textureMatrix = makeMatrix(7);

    RenderMaterial copy(source);
    ASSERT_NE(copy.layers[0].textureMatrix, nullptr);
    EXPECT_NE(copy.layers[0].textureMatrix, source.layers[0].textureMatrix);
    source.layers[0].textureMatrix->set(0, 3, 9);
    EXPECT_EQ(copy.layers[0].textureMatrix->at(0, 3), 7);

    // Both have one: the values go into the matrix the target already owns.
    CMatrix4* const owned = copy.layers[0].textureMatrix;
    copy = source;
    EXPECT_EQ(copy.layers[0].textureMatrix, owned);
    EXPECT_EQ(owned->at(0, 3), 9);
    EXPECT_FALSE(owned->isIdentity());

    // The source has none: the target's is deleted.
    RenderMaterial plain;
    copy.assign(plain);
    EXPECT_EQ(copy.layers[0].textureMatrix, nullptr);

    copy.assign(copy);
    EXPECT_EQ(copy.layers[0].textureMatrix, nullptr);
}

TEST(RenderMaterialTest, DiffersFromLooksAtTheUsedLayersOnly) {
    RenderMaterial base;
    base.layerCount = 2;
    base.layers[0].texture = fakeImageTexture(0);

    struct Case {
        const char* change;
        std::function<void(RenderMaterial&)> apply;
        bool differs;
    };
    const Case cases[] = {
        {"nothing", [](RenderMaterial&) {}, false},
        {"type", [](RenderMaterial& m) { m.type = 1; }, true},
        {"emissive", [](RenderMaterial& m) { m.emissiveColor = CColor(1); }, true},
        {"second parameter", [](RenderMaterial& m) { m.typeParameter2 = 1; }, true},
        {"thickness", [](RenderMaterial& m) { m.thickness = 2; }, true},
        {"layer count", [](RenderMaterial& m) { m.layerCount = 3; }, true},
        {"write mask", [](RenderMaterial& m) { m.colorWriteMask = 7; }, true},
        {"colour material", [](RenderMaterial& m) { m.colorMaterial = 0; }, true},
        {"front culling", [](RenderMaterial& m) { m.frontFaceCulling = true; }, true},
        {"anti-alias", [](RenderMaterial& m) { m.antiAliasFlags = 0; }, true},
        {"layer 0 texture", [](RenderMaterial& m) { m.layers[0].texture = nullptr; }, true},
        {"layer 1 bias", [](RenderMaterial& m) { m.layers[1].lodBias = -2; }, true},
        {"layer 1 trilinear", [](RenderMaterial& m) { m.layers[1].trilinearFilter = true; }, true},
        {"layer 0 matrix", [](RenderMaterial& m) { m.layers[0].textureMatrix = new CMatrix4(); },
         true},
        {"unused layer 2", [](RenderMaterial& m) { m.layers[2].texture = fakeImageTexture(1); },
         false},
        {"unused layer 3", [](RenderMaterial& m) { m.layers[3].wrapMode = 4; }, false},
    };
    for (const Case& c : cases) {
        RenderMaterial changed(base);
        c.apply(changed);
        EXPECT_EQ(changed.differsFrom(base), c.differs) << c.change;
        EXPECT_EQ(base.differsFrom(changed), c.differs) << c.change;
    }
}

} // namespace
