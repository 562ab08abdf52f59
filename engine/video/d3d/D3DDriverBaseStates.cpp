// The Direct3D drivers' state machine: transforms, the 2D and 3D modes and the render states
// every material shares.

#include <iterator>

#include "engine/video/ImageTexture.h"
#include "engine/video/d3d/D3DDriverBase.h"
#include "engine/video/d3d/D3DDriverTextureBase.h"
#include "engine/video/d3d/D3DLog.h"
#include "engine/video/d3d/D3DProjection.h"

namespace {

// Position, diffuse colour and coordinates after the normal; type 3's second and third sets
// (tangent and binormal) are three floats each.
constexpr uint32_t kVertexFormats[] = {
    D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1,
    D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1,
    D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2,
    D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE3(1) |
        D3DFVF_TEXCOORDSIZE3(2),
};

D3DCOLORVALUE colorValueOf(CColor color) {
    constexpr float kScale = 1.0f / 255.0f;
    return {float(color.getRed()) * kScale, float(color.getGreen()) * kScale,
            float(color.getBlue()) * kScale, float(color.getAlpha()) * kScale};
}

D3DMATRIX d3dMatrixOf(const CMatrix4& matrix) {
    D3DMATRIX result;
    for (int i = 0; i < 16; ++i)
        result.m[i] = matrix[i];
    return result;
}

uint32_t addressModeOf(uint8_t wrapMode) {
    switch (wrapMode) {
    case 1:
    case 2:
        return D3DTADDRESS_CLAMP;
    case 3:
        return D3DTADDRESS_BORDER;
    case 4:
        return D3DTADDRESS_MIRROR;
    default:
        return D3DTADDRESS_WRAP;
    }
}

uint32_t colorWriteMaskOf(uint8_t mask) {
    return (mask & 1 ? D3DCOLORWRITEENABLE_ALPHA : 0) | (mask & 2 ? D3DCOLORWRITEENABLE_RED : 0) |
           (mask & 4 ? D3DCOLORWRITEENABLE_GREEN : 0) | (mask & 8 ? D3DCOLORWRITEENABLE_BLUE : 0);
}

bool colorsDiffer(const RenderMaterial& a, const RenderMaterial& b) {
    return a.ambientColor.value != b.ambientColor.value ||
           a.diffuseColor.value != b.diffuseColor.value ||
           a.specularColor.value != b.specularColor.value ||
           a.emissiveColor.value != b.emissiveColor.value || a.shininess != b.shininess;
}

bool filtersDiffer(const RenderMaterialLayer& a, const RenderMaterialLayer& b) {
    return a.bilinearFilter != b.bilinearFilter || a.trilinearFilter != b.trilinearFilter ||
           a.anisotropy != b.anisotropy;
}

} // namespace

IMaterialPass* CD3DDriverBase::currentPass() const {
    return getMaterialPass(m_currentMaterial.type);
}

bool CD3DDriverBase::inMaterialMode() const {
    return m_renderMode == RENDER_MODE_3D || (m_renderMode == RENDER_MODE_2D && !m_imageStates);
}

void CD3DDriverBase::restoreLastRenderer() {
    if (IMaterialPass* last = getMaterialPass(m_lastMaterial.type))
        last->restoreStates();
}

void CD3DDriverBase::sendMatrix(D3DTRANSFORMSTATETYPE state, const CMatrix4& matrix) {
    const D3DMATRIX d3dMatrix = d3dMatrixOf(matrix);
    m_common->SetTransform(state, &d3dMatrix);
}

void CD3DDriverBase::setMatrix(uint32_t slot, const CMatrix4& matrix) {
    if (slot >= TRANSFORM_COUNT)
        return;
    if (slot <= TRANSFORM_PROJECTION || m_traits.textureMatricesChangeTransforms)
        m_transformChanged = true;
    switch (slot) {
    case TRANSFORM_VIEW:
        sendMatrix(D3DTS_VIEW, matrix);
        break;
    case TRANSFORM_WORLD:
        sendMatrix(D3DTS_WORLD, matrix);
        break;
    case TRANSFORM_PROJECTION:
        sendMatrix(D3DTS_PROJECTION, matrix);
        break;
    default: {
        const uint32_t stage = slot - TRANSFORM_TEXTURE_0;
        m_common->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        sendMatrix(D3DTRANSFORMSTATETYPE(D3DTS_TEXTURE0 + stage),
                   matrix.isIdentity() ? CMatrix4::identity() : matrix);
        break;
    }
    }
    if (&m_transforms[slot] != &matrix)
        m_transforms[slot] = matrix;
}

void CD3DDriverBase::applyMaterial(const RenderMaterial& material) {
    m_currentMaterial.assign(material);
    const uint32_t count = material.layerCount < RenderMaterial::kMaxLayers
                               ? material.layerCount
                               : RenderMaterial::kMaxLayers;
    for (uint32_t stage = 0; stage < count; ++stage) {
        const CImageTexture* texture = material.layers[stage].texture;
        setStageTexture(stage, texture ? texture->getTexture() : nullptr);
    }
}

bool CD3DDriverBase::setStageTexture(uint32_t stage, IDriverTexture* texture) {
    if (stage >= std::size(m_stageTextures) || m_stageTextures[stage].get() == texture)
        return true;
    if (texture && texture->getDriverKind() != m_traits.driverKind) {
        logD3DError("Fatal Error: Tried to set a texture not owned by this driver.");
        return false;
    }
    m_stageTextures[stage] = CRefPointer<IDriverTexture>::share(texture);
    if (!m_common)
        return true;
    if (texture) {
        m_common->SetTexture(stage, static_cast<CD3DDriverTextureBase*>(texture)->getD3DTexture());
    } else {
        m_common->SetTexture(stage, nullptr);
        m_common->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    }
    return true;
}

void CD3DDriverBase::setVertexType(int32_t vertexType) {
    if (m_traits.cacheVertexType && vertexType == m_currentVertexType)
        return;
    m_currentVertexType = vertexType;
    if (vertexType < 0 || uint32_t(vertexType) >= std::size(kVertexFormats))
        return;
    if (FAILED(setVertexFormat(kVertexFormats[vertexType])))
        logD3DError("Could not set vertex Shader.");
}

bool CD3DDriverBase::setRenderStates3D() {
    if (!m_common)
        return false;
    const bool fromMaterial = inMaterialMode();
    if (m_renderMode != RENDER_MODE_3D) {
        sendMatrix(D3DTS_VIEW, m_transforms[TRANSFORM_VIEW]);
        sendMatrix(D3DTS_WORLD, m_transforms[TRANSFORM_WORLD]);
        sendMatrix(D3DTS_PROJECTION, m_transforms[TRANSFORM_PROJECTION]);
        m_common->SetRenderState(D3DRS_STENCILENABLE, false);
        m_resetAllStates = true;
    }
    if (m_resetAllStates || m_currentMaterial.differsFrom(m_lastMaterial)) {
        if (fromMaterial && m_currentMaterial.type != m_lastMaterial.type)
            restoreLastRenderer();
        if (IMaterialPass* pass = currentPass())
            pass->applyStates(m_currentMaterial, m_lastMaterial, m_resetAllStates, this);
    }
    IMaterialPass* pass = currentPass();
    const bool result = pass ? pass->beforeDraw(this, uint32_t(m_currentVertexType)) : true;
    m_lastMaterial.assign(m_currentMaterial);
    m_resetAllStates = false;
    m_renderMode = RENDER_MODE_3D;
    m_imageStates = false;
    return result;
}

void CD3DDriverBase::send2DProjection() {
    const CPixelSize size = getRenderTargetSize();
    sendMatrix(D3DTS_VIEW, CMatrix4::identity());
    sendMatrix(D3DTS_PROJECTION, pixelProjection(size));
}

bool CD3DDriverBase::setRenderStates2D() {
    if (!m_common)
        return false;
    const bool fromMaterial = inMaterialMode();
    if (m_renderMode != RENDER_MODE_2D || m_imageStates) {
        m_common->SetRenderState(D3DRS_STENCILENABLE, false);
        m_resetAllStates = true;
        m_transformChanged = true;
        m_renderMode = RENDER_MODE_2D;
        m_imageStates = false;
    }
    if (m_transformChanged) {
        send2DProjection();
        m_transformChanged = false;
    }
    IMaterialPass* pass = currentPass();
    if (m_resetAllStates || m_currentMaterial.differsFrom(m_lastMaterial)) {
        if (fromMaterial && m_currentMaterial.type != m_lastMaterial.type)
            restoreLastRenderer();
        if (pass)
            pass->applyStates(m_currentMaterial, m_lastMaterial, m_resetAllStates, this);
        m_lastMaterial.assign(m_currentMaterial);
        m_resetAllStates = false;
    }
    return pass ? pass->beforeDraw(this, uint32_t(m_currentVertexType)) : true;
}

void CD3DDriverBase::setColorStates(const RenderMaterial& material) {
    D3DMATERIAL9 d3dMaterial;
    d3dMaterial.Diffuse = colorValueOf(material.diffuseColor);
    d3dMaterial.Ambient = colorValueOf(material.ambientColor);
    d3dMaterial.Specular = colorValueOf(material.specularColor);
    d3dMaterial.Emissive = colorValueOf(material.emissiveColor);
    d3dMaterial.Power = material.shininess;
    m_common->SetMaterial(&d3dMaterial);
}

void CD3DDriverBase::setColorMaterialStates(uint8_t mode) {
    const auto source = [mode](bool follows) { return follows ? D3DMCS_COLOR1 : D3DMCS_MATERIAL; };
    m_common->SetRenderState(D3DRS_COLORVERTEX, mode != 0);
    m_common->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, source(mode == 1 || mode == 5));
    m_common->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, source(mode == 2 || mode == 5));
    m_common->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, source(mode == 3));
    m_common->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, source(mode == 4));
}

void CD3DDriverBase::setDepthStates(uint8_t depthTest) {
    static const uint32_t functions[] = {D3DCMP_LESSEQUAL, D3DCMP_EQUAL,        D3DCMP_LESS,
                                         D3DCMP_NOTEQUAL,  D3DCMP_GREATEREQUAL, D3DCMP_GREATER,
                                         D3DCMP_ALWAYS};
    if (depthTest == 0) {
        m_common->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    } else if (depthTest <= 7) {
        m_common->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        m_common->SetRenderState(D3DRS_ZFUNC, functions[depthTest - 1]);
    }
}

void CD3DDriverBase::setFilterStates(uint32_t stage, const RenderMaterialLayer& layer) {
    if (!layer.bilinearFilter && !layer.trilinearFilter && layer.anisotropy == 0) {
        setSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        setSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        setSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        return;
    }
    const auto filter = [&layer, this](uint32_t anisotropicCap) {
        return (m_caps.TextureFilterCaps & anisotropicCap) && layer.anisotropy != 0
                   ? D3DTEXF_ANISOTROPIC
                   : D3DTEXF_LINEAR;
    };
    const uint32_t magnification = filter(D3DPTFILTERCAPS_MAGFANISOTROPIC);
    const uint32_t minification = filter(D3DPTFILTERCAPS_MINFANISOTROPIC);
    setSamplerState(stage, D3DSAMP_MAGFILTER, magnification);
    setSamplerState(stage, D3DSAMP_MINFILTER, minification);
    if (magnification == D3DTEXF_ANISOTROPIC || minification == D3DTEXF_ANISOTROPIC) {
        const uint32_t wanted = layer.anisotropy;
        setSamplerState(stage, D3DSAMP_MAXANISOTROPY,
                        wanted < m_caps.MaxAnisotropy ? wanted : m_caps.MaxAnisotropy);
    }
    setSamplerState(stage, D3DSAMP_MIPFILTER,
                    layer.trilinearFilter ? D3DTEXF_LINEAR : D3DTEXF_POINT);
}

void CD3DDriverBase::setLayerStates(const RenderMaterial& material, const RenderMaterial& last,
                                    bool resetAllStates) {
    const uint32_t count = material.layerCount < RenderMaterial::kMaxLayers
                               ? material.layerCount
                               : RenderMaterial::kMaxLayers;
    for (uint32_t stage = 0; stage < count; ++stage) {
        const RenderMaterialLayer& layer = material.layers[stage];
        const RenderMaterialLayer& lastLayer = last.layers[stage];
        if (resetAllStates || layer.lodBias != lastLayer.lodBias)
            setSamplerState(stage, D3DSAMP_MIPMAPLODBIAS, floatBits(float(layer.lodBias) * 0.125f));
        if (resetAllStates || layer.wrapMode != lastLayer.wrapMode) {
            setSamplerState(stage, D3DSAMP_ADDRESSU, addressModeOf(layer.wrapMode));
            setSamplerState(stage, D3DSAMP_ADDRESSV, addressModeOf(layer.wrapMode));
        }
        if (resetAllStates || filtersDiffer(layer, lastLayer))
            setFilterStates(stage, layer);
    }
}

void CD3DDriverBase::setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                                         bool resetAllStates) {
    const bool reset = resetAllStates;
    if (reset || colorsDiffer(material, last))
        setColorStates(material);
    if (material.colorMaterial != last.colorMaterial)
        setColorMaterialStates(material.colorMaterial);
    if (reset || material.wireframe != last.wireframe || material.pointCloud != last.pointCloud)
        m_common->SetRenderState(D3DRS_FILLMODE, material.wireframe    ? D3DFILL_WIREFRAME
                                                 : material.pointCloud ? D3DFILL_POINT
                                                                       : D3DFILL_SOLID);
    if (reset || material.smoothShading != last.smoothShading)
        m_common->SetRenderState(D3DRS_SHADEMODE,
                                 material.smoothShading ? D3DSHADE_GOURAUD : D3DSHADE_FLAT);
    if (reset || material.lighting != last.lighting)
        m_common->SetRenderState(D3DRS_LIGHTING, material.lighting);
    if (reset || material.depthTest != last.depthTest)
        setDepthStates(material.depthTest);
    if (reset || material.depthWrite != last.depthWrite)
        m_common->SetRenderState(D3DRS_ZWRITEENABLE, material.depthWrite);
    if (reset || material.frontFaceCulling != last.frontFaceCulling ||
        material.backFaceCulling != last.backFaceCulling)
        m_common->SetRenderState(D3DRS_CULLMODE, material.frontFaceCulling  ? D3DCULL_CW
                                                 : material.backFaceCulling ? D3DCULL_CCW
                                                                            : D3DCULL_NONE);
    if (reset || material.fog != last.fog)
        m_common->SetRenderState(D3DRS_FOGENABLE, material.fog);
    if (reset || material.normalizeNormals != last.normalizeNormals)
        m_common->SetRenderState(D3DRS_NORMALIZENORMALS, material.normalizeNormals);
    if (hasFeature(FEATURE_COLOR_WRITE_MASK) &&
        (reset || material.colorWriteMask != last.colorWriteMask))
        m_common->SetRenderState(D3DRS_COLORWRITEENABLE, colorWriteMaskOf(material.colorWriteMask));
    if (reset || material.antiAliasFlags != last.antiAliasFlags)
        setAntiAliasStates(material.antiAliasFlags, last.antiAliasFlags);
    if (reset || material.thickness != last.thickness)
        m_common->SetRenderState(D3DRS_POINTSIZE, floatBits(material.thickness));
    setLayerStates(material, last, reset);
}
