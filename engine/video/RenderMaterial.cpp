#include "engine/video/RenderMaterial.h"

namespace {

const char* const kBuiltInMaterialNames[MATERIAL_BUILT_IN_COUNT] = {
    "solid",
    "solid_2layer",
    "lightmap",
    "lightmap_add",
    "lightmap_m2",
    "lightmap_m4",
    "lightmap_light",
    "lightmap_light_m2",
    "lightmap_light_m4",
    "detail_map",
    "sphere_map",
    "reflection_2layer",
    "trans_add",
    "trans_alphach",
    "trans_alphach_ref",
    "trans_vertex_alpha",
    "trans_reflection_2layer",
    "normalmap_solid",
    "normalmap_trans_add",
    "normalmap_trans_vertexalpha",
    "parallaxmap_solid",
    "parallaxmap_trans_add",
    "parallaxmap_trans_vertexalpha",
    "onetexture_blend",
    "trans_alphach_vertexalpha",
    "trans_alphach_vertexalpha_add",
};

bool layersDiffer(const RenderMaterialLayer& a, const RenderMaterialLayer& b) {
    return a.texture != b.texture || a.wrapMode != b.wrapMode ||
           a.bilinearFilter != b.bilinearFilter || a.trilinearFilter != b.trilinearFilter ||
           a.anisotropy != b.anisotropy || a.lodBias != b.lodBias ||
           a.textureMatrix != b.textureMatrix;
}

} // namespace

const char* builtInMaterialName(uint32_t type) {
    return type < MATERIAL_BUILT_IN_COUNT ? kBuiltInMaterialNames[type] : nullptr;
}

bool materialWritesDepth(uint32_t type) {
    const bool transparent = type >= MATERIAL_TRANS_ADD && type <= MATERIAL_TRANS_VERTEX_ALPHA;
    const bool sprite = type == MATERIAL_TRANS_ALPHACH_VERTEXALPHA ||
                        type == MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD;
    return !transparent && !sprite;
}

bool materialUsesTransparency(uint32_t type) {
    switch (type) {
    case MATERIAL_TRANS_ADD:
    case MATERIAL_TRANS_ALPHACH:
    case MATERIAL_TRANS_VERTEX_ALPHA:
    case MATERIAL_TRANS_REFLECTION_2LAYER:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD:
        return true;
    default:
        return false;
    }
}

const CMatrix4& sphereMapMatrix() {
    static const CMatrix4 matrix = [] {
        CMatrix4 m;
        m.set(0, 0.5f);
        m.set(5, -0.5f);
        m.set(12, 0.5f);
        m.set(13, 0.5f);
        return m;
    }();
    return matrix;
}

RenderMaterialLayer::RenderMaterialLayer(const RenderMaterialLayer& other) {
    assign(other);
}

RenderMaterialLayer& RenderMaterialLayer::operator=(const RenderMaterialLayer& other) {
    assign(other);
    return *this;
}

RenderMaterialLayer::~RenderMaterialLayer() {
    delete textureMatrix;
}

void RenderMaterialLayer::assign(const RenderMaterialLayer& other) {
    if (this == &other)
        return;
    texture = other.texture;
    if (!other.textureMatrix) {
        delete textureMatrix;
        textureMatrix = nullptr;
    } else if (textureMatrix) {
        *textureMatrix = *other.textureMatrix;
    } else {
        textureMatrix = new CMatrix4(*other.textureMatrix);
    }
    wrapMode = other.wrapMode;
    bilinearFilter = other.bilinearFilter;
    trilinearFilter = other.trilinearFilter;
    anisotropy = other.anisotropy;
    lodBias = other.lodBias;
}

uint32_t RenderMaterial::usedLayers(const RenderMaterial& material) {
    return material.layerCount < kMaxLayers ? material.layerCount : kMaxLayers;
}

void RenderMaterial::assign(const RenderMaterial& other) {
    if (this == &other)
        return;
    type = other.type;
    ambientColor = other.ambientColor;
    diffuseColor = other.diffuseColor;
    emissiveColor = other.emissiveColor;
    specularColor = other.specularColor;
    shininess = other.shininess;
    typeParameter = other.typeParameter;
    typeParameter2 = other.typeParameter2;
    thickness = other.thickness;
    const uint32_t count = usedLayers(other);
    for (uint32_t i = 0; i < count; ++i)
        layers[i].assign(other.layers[i]);
    layerCount = other.layerCount;
    colorWriteMask = other.colorWriteMask;
    colorMaterial = other.colorMaterial;
    wireframe = other.wireframe;
    pointCloud = other.pointCloud;
    smoothShading = other.smoothShading;
    lighting = other.lighting;
    depthWrite = other.depthWrite;
    backFaceCulling = other.backFaceCulling;
    frontFaceCulling = other.frontFaceCulling;
    fog = other.fog;
    normalizeNormals = other.normalizeNormals;
    depthTest = other.depthTest;
    antiAliasFlags = other.antiAliasFlags;
}

bool RenderMaterial::differsFrom(const RenderMaterial& other) const {
    if (type != other.type || !(ambientColor == other.ambientColor) ||
        !(diffuseColor == other.diffuseColor) || !(emissiveColor == other.emissiveColor) ||
        !(specularColor == other.specularColor) || shininess != other.shininess ||
        typeParameter != other.typeParameter || typeParameter2 != other.typeParameter2 ||
        thickness != other.thickness || layerCount != other.layerCount ||
        colorWriteMask != other.colorWriteMask || colorMaterial != other.colorMaterial ||
        wireframe != other.wireframe || pointCloud != other.pointCloud ||
        smoothShading != other.smoothShading || lighting != other.lighting ||
        depthWrite != other.depthWrite || backFaceCulling != other.backFaceCulling ||
        frontFaceCulling != other.frontFaceCulling || fog != other.fog ||
        normalizeNormals != other.normalizeNormals || depthTest != other.depthTest ||
        antiAliasFlags != other.antiAliasFlags)
        return true;
    const uint32_t count = usedLayers(*this);
    for (uint32_t i = 0; i < count; ++i) {
        if (layersDiffer(layers[i], other.layers[i]))
            return true;
    }
    return false;
}
