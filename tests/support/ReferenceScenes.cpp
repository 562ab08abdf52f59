#include "support/ReferenceScenes.h"

#include <iterator>

#include "engine/video/Light.h"
#include "engine/video/QuadBatcher.h"
#include "support/TestImage.h"

namespace reference_scenes {

RenderMaterial flatMaterial(uint32_t type) {
    RenderMaterial material;
    material.type = type;
    material.lighting = false;
    return material;
}

uint32_t checkerTexel(int32_t x, int32_t y) {
    const uint32_t alpha = 255 - uint32_t(x) * 32;
    const uint32_t colour = ((x / 2 + y / 2) & 1) ? 0xFFC040u : 0x4060FFu;
    return alpha << 24 | colour;
}

void addQuad(CQuadBatcher& batch, const RenderMaterial& material, float left, float top,
             float right, float bottom, CColor color) {
    const CVector2d corners[4] = {CVector2d(left, top), CVector2d(right, top),
                                  CVector2d(right, bottom), CVector2d(left, bottom)};
    const CVector2d texCoords[4] = {CVector2d(0, 0), CVector2d(1, 0), CVector2d(1, 1),
                                    CVector2d(0, 1)};
    batch.addQuad(&material, corners, texCoords, 0, color);
}

} // namespace reference_scenes

using namespace reference_scenes;

namespace {

CVector2d point(float x, float y) {
    return CVector2d(x, y);
}

// Looking along +z, objects from z 1 to 100.
CMatrix4 perspective() {
    CMatrix4 projection;
    const float nearZ = 1.0f;
    const float farZ = 100.0f;
    projection.set(0, 1.5f);
    projection.set(5, 2.0f);
    projection.set(10, farZ / (farZ - nearZ));
    projection.set(11, 1.0f);
    projection.set(14, -nearZ * farZ / (farZ - nearZ));
    projection.set(15, 0.0f);
    return projection;
}

// Sixteen by sixteen: a bright disc fading out at its rim, over a colour wheel of hues.
uint32_t discTexel(int32_t x, int32_t y) {
    const int dx = x * 2 - 15;
    const int dy = y * 2 - 15;
    const int distance = dx * dx + dy * dy;
    const uint32_t alpha = distance >= 225 ? 0 : uint32_t(255 - distance);
    const uint32_t red = uint32_t(x * 16);
    const uint32_t green = uint32_t(y * 16);
    return alpha << 24 | red << 16 | green << 8 | uint32_t(255 - x * 8);
}

// Vertical stripes of four colours under every material.
void drawStripes(IRenderDriver& driver, int32_t height) {
    const CColor colours[4] = {CColor(0xFF2040A0), CColor(0xFFA04020), CColor(0xFF20A040),
                               CColor(0xFFE0E0E0)};
    for (int32_t i = 0; i < 12; ++i)
        driver.drawRect(colours[i % 4], {i * 8, 0, i * 8 + 8, height}, nullptr);
}

void drawFlatShapesScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    RenderMaterial flat = flatMaterial();
    driver.applyMaterial(flat);
    canvas.begin2D(CColor(0xFF102040));
    driver.drawRectGradient({4, 4, 44, 34}, CColor(0xFFFF0000), CColor(0xFF00FF00),
                            CColor(0xFF0000FF), CColor(0xFFFFFFFF), nullptr);
    const CPixelRect clip{50, 4, 70, 20};
    driver.drawRect(CColor(0xFFFF8000), {40, 0, 90, 30}, &clip);
    driver.drawRegularPolygon(CVector2d(70, 48), 16, CColor(0xFFFFFF00), 6);
    for (int i = 0; i < 5; ++i)
        driver.drawLine2D(CVector2d(4, 40 + 6 * float(i)), CVector2d(44, 68 - 6 * float(i)),
                          CColor(0xFF00FFFF));
    for (uint32_t x = 4; x < 92; x += 4)
        driver.plotPixel(x, 70, CColor(0xFFFFFFFF));
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    addQuad(batch, flat, 76, 4, 92, 20, CColor(0xFF80FF80));
    addQuad(batch, flat, 80, 8, 94, 28, CColor(0xFFFF80FF));
    batch.end();
}

void drawImagesScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    canvas.begin2D(CColor(0xFF203020));
    CRefPointer<IDriverTexture> checker =
        driver.createTexture(makeTestImage(8, 8, checkerTexel).get());
    driver.drawImage(checker.get(), {2, 2});
    driver.drawImagePart(checker.get(), {12, 2}, {2, 2, 8, 8}, nullptr, CColor(0xFFFFFFFF), true);
    driver.drawImagePart(checker.get(), {22, 2}, {0, 0, 8, 8}, nullptr, CColor(0x80FF8080), false);
    const CColor corners[4] = {CColor(0xFFFFFFFF), CColor(0xFFFF0000), CColor(0x8000FF00),
                               CColor(0xFF0000FF)};
    driver.drawImageScaled(checker.get(), {2, 14, 34, 46}, {0, 0, 8, 8}, nullptr, corners, true);
    const CPixelRect clip{40, 14, 80, 30};
    driver.drawImageScaled(checker.get(), {36, 10, 92, 40}, {0, 0, 8, 8}, &clip, nullptr, false);
    CArray<CPixelRect> glyphs;
    glyphs.append({0, 0, 3, 8});
    glyphs.append({3, 0, 8, 4});
    CArray<int32_t> text;
    for (const int32_t index : {0, 1, 1, 0, 1})
        text.append(index);
    const CPixelRect runClip{40, 44, 58, 60};
    driver.drawImageRun(checker.get(), {40, 48}, glyphs, text, 0, &runClip, CColor(0xFFFFFFFF),
                        true);
    RenderMaterial sprite = flatMaterial(MATERIAL_TRANS_ALPHACH_VERTEXALPHA);
    sprite.layerCount = 1;
    sprite.layers[0].texture = canvas.imageTexture(makeTestImage(8, 8, checkerTexel));
    RenderMaterial additive = sprite;
    additive.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD;
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    addQuad(batch, sprite, 2, 50, 34, 70, CColor(0xFFFFFFFF));
    addQuad(batch, sprite, 62, 44, 94, 70, CColor(0x80FFFFFF));
    addQuad(batch, additive, 70, 50, 90, 66, CColor(0xFF404040));
    batch.end();
}

void drawFogAndLightScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    driver.setFogParameters(CColor(0xFF8090A0), true, 2.0f, 12.0f, 0.0f, false, false);
    driver.setMatrix(TRANSFORM_PROJECTION, perspective());
    CLight sun;
    sun.kind = LIGHT_DIRECTIONAL;
    sun.direction = CVector3d(0.6f, -0.3f, 1.0f);
    sun.diffuse = CColorf(1.0f, 0.9f, 0.7f, 1.0f);
    sun.constantAttenuation = 1.0f;
    driver.addLight(sun);
    driver.setAmbientLight(CColorf(0.2f, 0.2f, 0.3f, 1.0f));
    driver.startFrame(true, true, CColor(0xFF8090A0), nullptr, nullptr);
    driver.setRenderStates3D();
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    RenderMaterial fogged = flatMaterial();
    fogged.fog = true;
    fogged.backFaceCulling = false;
    const CColor colours[3] = {CColor(0xFFFF4040), CColor(0xFF40FF40), CColor(0xFF4040FF)};
    for (int i = 0; i < 3; ++i) {
        const float z = 3.0f + 4.0f * float(i);
        const float x = -2.2f + 1.6f * float(i) * z / 6.0f;
        CVertexNormal quad[4];
        const float xs[4] = {x, x + z * 0.3f, x + z * 0.3f, x};
        const float ys[4] = {z * 0.25f, z * 0.25f, -z * 0.25f, -z * 0.25f};
        for (int k = 0; k < 4; ++k) {
            quad[k].position = CVector3d(xs[k], ys[k], z);
            quad[k].normal = CVector3d(0, 0, -1);
            quad[k].color = colours[i];
        }
        driver.applyMaterial(fogged);
        driver.drawIndexedTriangles(quad, 4, indices, 2);
    }
    RenderMaterial lit = fogged;
    lit.fog = false;
    lit.lighting = true;
    CVertexNormal tile[4];
    const float xs[4] = {1.0f, 2.5f, 2.5f, 1.0f};
    const float ys[4] = {-0.5f, -0.5f, -2.0f, -2.0f};
    for (int k = 0; k < 4; ++k) {
        tile[k].position = CVector3d(xs[k], ys[k], 4.0f);
        tile[k].normal = CVector3d(0, 0, -1);
        tile[k].color = CColor(0xFFFFFFFF);
    }
    driver.applyMaterial(lit);
    driver.drawIndexedTriangles(tile, 4, indices, 2);
}

void drawSingleTextureMaterialsScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    driver.applyMaterial(flatMaterial());
    canvas.begin2D();
    drawStripes(driver, int32_t(kReferenceSceneHeight));
    CImageTexture* disc = canvas.imageTexture(makeTestImage(16, 16, discTexel));
    struct Kind {
        uint32_t type;
        float parameter;
    };
    const Kind kinds[] = {
        {MATERIAL_SOLID, 0},
        {MATERIAL_TRANS_ADD, 0},
        {MATERIAL_TRANS_ALPHACH, 0},
        {MATERIAL_TRANS_ALPHACH, 0.75f},
        {MATERIAL_TRANS_ALPHACH_REF, 0},
        {MATERIAL_TRANS_VERTEX_ALPHA, 0},
        {MATERIAL_ONETEXTURE_BLEND, 67079.0f},
        {MATERIAL_ONETEXTURE_BLEND, float(0x020504)},
        {MATERIAL_TRANS_ALPHACH_VERTEXALPHA, 0},
        {MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD, 0},
    };
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    for (size_t i = 0; i < std::size(kinds); ++i) {
        RenderMaterial material = flatMaterial(kinds[i].type);
        material.typeParameter = kinds[i].parameter;
        material.layerCount = 1;
        material.layers[0].texture = disc;
        const float x = 4 + float(i % 4) * 23;
        const float y = 4 + float(i / 4) * 23;
        addQuad(batch, material, x, y, x + 20, y + 20, CColor(0xC0FFE0C0));
    }
    batch.end();
}

void drawTwoLayerMaterialsScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    canvas.begin2D(CColor(0xFF303030));
    CImageTexture* checker = canvas.imageTexture(makeTestImage(8, 8, checkerTexel));
    CImageTexture* disc = canvas.imageTexture(makeTestImage(16, 16, discTexel));
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    const uint32_t types[] = {MATERIAL_SOLID_2LAYER, MATERIAL_DETAIL_MAP};
    for (int i = 0; i < 2; ++i) {
        RenderMaterial material = flatMaterial(types[i]);
        material.layerCount = 2;
        material.layers[0].texture = checker;
        material.layers[1].texture = disc;
        const float x = 4 + 46 * float(i);
        const CVector2d corners[4] = {point(x, 4), point(x + 40, 4), point(x + 40, 36),
                                      point(x, 36)};
        const CVector2d texCoords[4] = {point(0, 0), point(1, 0), point(1, 1), point(0, 1)};
        CQuadRecord quad;
        quad.material = &material;
        const CColor colours[4] = {CColor(0x00FFFFFF), CColor(0x80FFFFFF), CColor(0xFFFFFFFF),
                                   CColor(0x40FF8080)};
        for (int k = 0; k < 4; ++k)
            quad.vertices[k] =
                CVertex{CVector3d(corners[k].x, corners[k].y, 0), colours[k], texCoords[k]};
        batch.addQuadVertices(quad);
    }
    batch.end();
    // The sphere-mapped materials look up their second texture by the normals.
    driver.setRenderStates3D();
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    const uint32_t sphereTypes[] = {MATERIAL_SPHERE_MAP, MATERIAL_REFLECTION_2LAYER,
                                    MATERIAL_TRANS_REFLECTION_2LAYER};
    for (int i = 0; i < 3; ++i) {
        RenderMaterial material = flatMaterial(sphereTypes[i]);
        material.backFaceCulling = false;
        material.layerCount = 2;
        material.layers[0].texture = i == 0 ? disc : checker;
        material.layers[1].texture = disc;
        const float left = -0.95f + 0.65f * float(i);
        CVertexNormal quad[4];
        const float xs[4] = {left, left + 0.55f, left + 0.55f, left};
        const float ys[4] = {-0.1f, -0.1f, -0.9f, -0.9f};
        const float nx[4] = {-0.7f, 0.7f, 0.7f, -0.7f};
        const float ny[4] = {0.7f, 0.7f, -0.7f, -0.7f};
        for (int k = 0; k < 4; ++k) {
            quad[k].position = CVector3d(xs[k], ys[k], 0.5f);
            quad[k].normal = CVector3d(nx[k], ny[k], -0.3f);
            quad[k].color = CColor(0xC0FFFFFF);
            quad[k].texCoord = CVector2d(xs[k] - left, ys[k]);
        }
        driver.applyMaterial(material);
        driver.drawIndexedTriangles(quad, 4, indices, 2);
    }
}

void drawRenderTargetScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    driver.applyMaterial(flatMaterial());
    canvas.begin2D(CColor(0xFF000000));
    CRefPointer<IDriverTexture> target =
        driver.createRenderTargetTexture({48, 36}, COLOR_FORMAT_A8R8G8B8);
    if (!target)
        return;
    driver.useRenderTargetTexture(target.get(), true, true, CColor(0xFF204060));
    driver.drawRectGradient({0, 0, 48, 12}, CColor(0xFFFF0000), CColor(0xFFFFFF00),
                            CColor(0xFFFF0000), CColor(0xFFFFFF00), nullptr);
    driver.drawRegularPolygon(CVector2d(24, 22), 10, CColor(0xFFFFFFFF), 3);
    driver.drawImage(driver.createTexture(makeTestImage(8, 8, checkerTexel).get()).get(), {2, 26});
    driver.useRenderTargetTexture(nullptr, false, false, CColor());
    driver.drawImagePart(target.get(), {2, 2}, {0, 0, 48, 36}, nullptr, CColor(0xFFFFFFFF), false);
    driver.drawImageScaled(target.get(), {54, 2, 78, 20}, {0, 0, 48, 36}, nullptr, nullptr, false);
    CRefPointer<CImageTexture> holder(new CImageTexture(CContentKey(), u"", target.get()));
    RenderMaterial sprite = flatMaterial(MATERIAL_TRANS_VERTEX_ALPHA);
    sprite.layerCount = 1;
    sprite.layers[0].texture = holder.get();
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.begin();
    addQuad(batch, sprite, 40, 30, 88, 66, CColor(0xC0FFFFFF));
    batch.end();
}

// Lines and pixels named by whole coordinates light those pixels; at half-pixel coordinates
// they lie on the border of two pixels, and every driver picks the same one.
void drawLinesAndPixelsScene(ReferenceSceneCanvas& canvas) {
    IRenderDriver& driver = canvas.driver;
    driver.applyMaterial(flatMaterial());
    canvas.begin2D(CColor(0xFF000000));
    const CColor colours[2] = {CColor(0xFF00FF00), CColor(0xFFFF8000)};
    for (int half = 0; half < 2; ++half) {
        const float shift = 0.5f * float(half);
        const float top = 4 + 34 * float(half);
        const CColor colour = colours[half];
        driver.drawLine2D(CVector2d(4 + shift, top + shift), CVector2d(44 + shift, top + shift),
                          colour);
        driver.drawLine2D(CVector2d(4 + shift, top + 4 + shift),
                          CVector2d(4 + shift, top + 30 + shift), colour);
        driver.drawLine2D(CVector2d(8 + shift, top + 4 + shift),
                          CVector2d(44 + shift, top + 30 + shift), colour);
        driver.drawLine2D(CVector2d(44 + shift, top + 4 + shift),
                          CVector2d(16 + shift, top + 30 + shift), colour);
    }
    driver.drawLine2D(CVector2d(50.5f, 4.5f), CVector2d(92.5f, 4.5f), CColor(0xFFFFFFFF));
    driver.drawLine2D(CVector2d(50, 8.5f), CVector2d(92, 8), CColor(0xFFFF00FF));
    driver.drawLine2D(CVector2d(50.25f, 12.75f), CVector2d(92.75f, 20.25f), CColor(0xFF00FFFF));
    for (uint32_t i = 0; i < 20; ++i)
        driver.plotPixel(50 + 2 * i, 30 + i, CColor(0xFFFFFF00));
    driver.plotPixel(kReferenceSceneWidth - 1, kReferenceSceneHeight - 1, CColor(0xFFFFFFFF));
}

} // namespace

CImageTexture* ReferenceSceneCanvas::imageTexture(const CRefPointer<CSoftwareImage>& image) {
    CRefPointer<IDriverTexture> texture = driver.createTexture(image.get());
    images.push_back(
        CRefPointer<CImageTexture>(new CImageTexture(CContentKey(), u"", texture.get())));
    return images.back().get();
}

void ReferenceSceneCanvas::begin2D(CColor clearColor) {
    driver.startFrame(true, true, clearColor, nullptr, nullptr);
    driver.getQuadBatcher()->begin();
}

const ReferenceScene kReferenceScenes[kReferenceSceneCount] = {
    {"gl-flat-shapes", &drawFlatShapesScene},
    {"gl-images", &drawImagesScene},
    {"gl-fog-and-light", &drawFogAndLightScene},
    {"gl-materials-single-texture", &drawSingleTextureMaterialsScene},
    {"gl-materials-two-layers", &drawTwoLayerMaterialsScene},
    {"gl-render-target", &drawRenderTargetScene},
    {"gl-lines-and-pixels", &drawLinesAndPixelsScene},
};
