#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/Matrix4.h"

class CImageTexture;

// Material types: the index into a driver's material pass list. The first 26 have built-in
// names; indices from 26 on belong to passes added later, such as shader materials.
enum EMaterialType : uint32_t {
    MATERIAL_SOLID = 0,
    MATERIAL_SOLID_2LAYER = 1,
    MATERIAL_LIGHTMAP = 2,
    MATERIAL_LIGHTMAP_ADD = 3,
    MATERIAL_LIGHTMAP_M2 = 4,
    MATERIAL_LIGHTMAP_M4 = 5,
    MATERIAL_LIGHTMAP_LIGHT = 6,
    MATERIAL_LIGHTMAP_LIGHT_M2 = 7,
    MATERIAL_LIGHTMAP_LIGHT_M4 = 8,
    MATERIAL_DETAIL_MAP = 9,
    MATERIAL_SPHERE_MAP = 10,
    MATERIAL_REFLECTION_2LAYER = 11,
    MATERIAL_TRANS_ADD = 12,
    MATERIAL_TRANS_ALPHACH = 13,
    MATERIAL_TRANS_ALPHACH_REF = 14,
    MATERIAL_TRANS_VERTEX_ALPHA = 15,
    MATERIAL_TRANS_REFLECTION_2LAYER = 16,
    MATERIAL_NORMALMAP_SOLID = 17,
    MATERIAL_NORMALMAP_TRANS_ADD = 18,
    MATERIAL_NORMALMAP_TRANS_VERTEXALPHA = 19,
    MATERIAL_PARALLAXMAP_SOLID = 20,
    MATERIAL_PARALLAXMAP_TRANS_ADD = 21,
    MATERIAL_PARALLAXMAP_TRANS_VERTEXALPHA = 22,
    MATERIAL_ONETEXTURE_BLEND = 23,
    MATERIAL_TRANS_ALPHACH_VERTEXALPHA = 24,
    MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD = 25,
    MATERIAL_BUILT_IN_COUNT = 26,
};

// The built-in name of a material type ("solid", "detail_map", ...); none from 26 on.
const char* builtInMaterialName(uint32_t type);
// Whether a material type writes depth. The transparent types do not, nor do the sprites'
// types, whose quads lie at depths that say nothing about what covers what (the order they are
// drawn in does).
bool materialWritesDepth(uint32_t type);
// Whether a built-in material type blends with what lies behind it.
bool materialUsesTransparency(uint32_t type);
// The texture matrix of sphere mapping: camera-space x and y from -1..1 onto 0..1, v down.
const CMatrix4& sphereMapMatrix();

// One texture stage of a material.
class RenderMaterialLayer {
public:
    RenderMaterialLayer() = default;
    RenderMaterialLayer(const RenderMaterialLayer& other);
    RenderMaterialLayer& operator=(const RenderMaterialLayer& other);
    ~RenderMaterialLayer();

    // Copies every field; the texture matrix is copied into one of this layer's own.
    void assign(const RenderMaterialLayer& other);

    // Not counted: whoever sets it keeps the image texture alive while the material is in use.
    CImageTexture* texture = nullptr;
    // Owned; none means identity.
    CMatrix4* textureMatrix = nullptr;
    // 0 repeat, 1 clamp, 2 clamp to edge, 3 clamp to border, 4 mirrored repeat.
    uint8_t wrapMode = 0;
    bool bilinearFilter = true;
    bool trilinearFilter = false;
    // 0 off, otherwise the wanted maximum anisotropy.
    uint8_t anisotropy = 0;
    // In eighths of a level.
    int8_t lodBias = 0;
};

// How a draw looks: the material type, colours, texture layers and render-state flags. A plain
// value; copies go through assign and comparisons through differsFrom, both of which look only
// at the first layerCount layers.
class RenderMaterial {
public:
    static constexpr uint32_t kMaxLayers = 4;

    RenderMaterial() = default;
    RenderMaterial(const RenderMaterial& other) { assign(other); }
    RenderMaterial& operator=(const RenderMaterial& other) {
        assign(other);
        return *this;
    }

    // Layers at or past other's layer count keep what they hold.
    void assign(const RenderMaterial& other);
    // Texture matrices are compared by pointer.
    bool differsFrom(const RenderMaterial& other) const;

    uint32_t type = MATERIAL_SOLID;
    CColor ambientColor{0xFFFFFFFF};
    CColor diffuseColor{0xFFFFFFFF};
    CColor emissiveColor{0};
    CColor specularColor{0xFFFFFFFF};
    float shininess = 0;
    // Alpha reference of "trans_alphach", packed blend of "onetexture_blend".
    float typeParameter = 0;
    float typeParameter2 = 0;
    // Point size and line width.
    float thickness = 1.0f;
    RenderMaterialLayer layers[kMaxLayers];
    uint32_t layerCount = kMaxLayers;
    // Bit 0 alpha, 1 red, 2 green, 3 blue.
    uint8_t colorWriteMask = 15;
    // Which colour follows the vertex colour: 0 none, 1 diffuse, 2 ambient, 3 emissive,
    // 4 specular, 5 ambient and diffuse.
    uint8_t colorMaterial = 1;
    // Wins over pointCloud when both are set.
    bool wireframe = false;
    bool pointCloud = false;
    bool smoothShading = true;
    bool lighting = true;
    bool depthWrite = true;
    bool backFaceCulling = true;
    bool frontFaceCulling = false;
    bool fog = false;
    bool normalizeNormals = false;
    // 0 off, 1 less or equal, 2 equal, 3 less, 4 not equal, 5 greater or equal, 6 greater,
    // 7 always.
    uint8_t depthTest = 1;
    // Bits 0 and 1 multisampling, 2 line smoothing, 3 point smoothing, 4 alpha to coverage.
    uint8_t antiAliasFlags = 5;

private:
    // The layer count, at most the layers there are.
    static uint32_t usedLayers(const RenderMaterial& material);
};
