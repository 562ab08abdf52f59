#include "engine/video/d3d/D3DFixedFunctionRenderer.h"

#include <cmath>
#include <iterator>

#include "engine/core/RefPointer.h"

#include "engine/video/IRendererServices.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/d3d/D3DDriverBase.h"

namespace {

// The default alpha reference, and the one of trans_alphach without a parameter.
constexpr uint32_t kHalfAlpha = 127;

D3DMATRIX d3dMatrixOf(const CMatrix4& matrix) {
    D3DMATRIX result;
    for (int i = 0; i < 16; ++i)
        result.m[i] = matrix[i];
    return result;
}

uint32_t blendFactorOf(uint32_t code) {
    static const uint32_t factors[] = {
        D3DBLEND_ZERO,      D3DBLEND_ONE,          D3DBLEND_DESTCOLOR,  D3DBLEND_INVDESTCOLOR,
        D3DBLEND_SRCCOLOR,  D3DBLEND_INVSRCCOLOR,  D3DBLEND_SRCALPHA,   D3DBLEND_INVSRCALPHA,
        D3DBLEND_DESTALPHA, D3DBLEND_INVDESTALPHA, D3DBLEND_SRCALPHASAT};
    return code < std::size(factors) ? factors[code] : 0;
}

bool isAlphaFactor(uint32_t code) {
    return code >= 6 && code <= 10;
}

} // namespace

const uint32_t CD3DFixedFunctionRenderer::kTypes[kTypeCount] = {
    MATERIAL_SOLID,
    MATERIAL_SOLID_2LAYER,
    MATERIAL_DETAIL_MAP,
    MATERIAL_SPHERE_MAP,
    MATERIAL_REFLECTION_2LAYER,
    MATERIAL_TRANS_ADD,
    MATERIAL_TRANS_ALPHACH,
    MATERIAL_TRANS_ALPHACH_REF,
    MATERIAL_TRANS_VERTEX_ALPHA,
    MATERIAL_TRANS_REFLECTION_2LAYER,
    MATERIAL_ONETEXTURE_BLEND,
    MATERIAL_TRANS_ALPHACH_VERTEXALPHA,
    MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD,
};

void CD3DFixedFunctionRenderer::applyStates(const RenderMaterial& material,
                                            const RenderMaterial& last, bool resetAllStates,
                                            IRendererServices* services) {
    if (!materialWritesDepth(m_type))
        m_driver->disableCurrentDepthWrite();
    bool changed = resetAllStates || material.type != last.type;
    if (m_type == MATERIAL_TRANS_ALPHACH || m_type == MATERIAL_ONETEXTURE_BLEND)
        changed = changed || material.typeParameter != last.typeParameter;
    if (changed)
        applyOwnStates(material);
    if (m_type == MATERIAL_SOLID) {
        setColorStage(1, D3DTOP_DISABLE, 0, 0);
        setBlending(false);
    }
    services->setBaseRenderStates(material, last, resetAllStates);
}

void CD3DFixedFunctionRenderer::applyOwnStates(const RenderMaterial& material) {
    switch (m_type) {
    case MATERIAL_SOLID:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        break;
    case MATERIAL_SOLID_2LAYER:
        setColorStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 0);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        m_device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
        setColorStage(1, D3DTOP_BLENDDIFFUSEALPHA, 0, 0);
        setBlending(false);
        break;
    case MATERIAL_DETAIL_MAP:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        setColorStage(1, D3DTOP_ADDSIGNED, D3DTA_TEXTURE, D3DTA_CURRENT);
        setAlphaStage(1, D3DTOP_DISABLE, 0, 0);
        setBlending(false);
        break;
    case MATERIAL_SPHERE_MAP:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        applySphereMap(0, D3DTSS_TCI_CAMERASPACENORMAL);
        setColorStage(1, D3DTOP_DISABLE, 0, 0);
        setBlending(false);
        break;
    case MATERIAL_REFLECTION_2LAYER:
    case MATERIAL_TRANS_REFLECTION_2LAYER:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        setColorStage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
        applySphereMap(1, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
        if (m_type == MATERIAL_TRANS_REFLECTION_2LAYER)
            setBlending(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        else
            setBlending(false);
        break;
    case MATERIAL_TRANS_ADD:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
        setColorStage(1, D3DTOP_DISABLE, 0, 0);
        setBlending(true, D3DBLEND_ONE, D3DBLEND_INVSRCCOLOR);
        break;
    case MATERIAL_TRANS_ALPHACH:
    case MATERIAL_TRANS_ALPHACH_REF: {
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
        setAlphaStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 0);
        disableStage(1);
        uint32_t reference = kHalfAlpha;
        if (m_type == MATERIAL_TRANS_ALPHACH) {
            setBlending(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
            const auto scaled = uint32_t(std::floor(material.typeParameter * 255.0f));
            reference = scaled != 0 ? scaled : kHalfAlpha;
        } else {
            setBlending(false);
        }
        setAlphaTest(reference);
        break;
    }
    case MATERIAL_TRANS_VERTEX_ALPHA:
        setColorStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, 0);
        if (m_driver->getDriverKind() == DRIVER_KIND_DIRECT3D8)
            setColorStage(1, D3DTOP_DISABLE, 0, 0);
        else
            disableStage(1);
        setBlending(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        break;
    case MATERIAL_ONETEXTURE_BLEND:
        applyOneTextureBlend(material);
        break;
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD: {
        const bool add = m_type == MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD;
        setColorStage(0, add ? D3DTOP_ADD : D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        setAlphaStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        disableStage(1);
        setBlending(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        break;
    }
    default:
        break;
    }
}

// The parameter packs the modulation, the source factor and the destination factor, a byte
// each from bit 16 down.
void CD3DFixedFunctionRenderer::applyOneTextureBlend(const RenderMaterial& material) {
    const auto packed = uint32_t(int32_t(material.typeParameter));
    const uint32_t destination = packed & 0xFF;
    const uint32_t source = (packed >> 8) & 0xFF;
    const uint32_t modulation = (packed >> 16) & 0xFF;
    if (source == 4 && destination == 0)
        setBlending(false);
    else
        setBlending(true, blendFactorOf(source), blendFactorOf(destination));
    const uint32_t operation = modulation == 4   ? D3DTOP_MODULATE4X
                               : modulation == 2 ? D3DTOP_MODULATE2X
                                                 : D3DTOP_MODULATE;
    setColorStage(0, operation, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    if (isAlphaFactor(source) || isAlphaFactor(destination))
        setAlphaStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 0);
    else
        setAlphaStage(0, D3DTOP_DISABLE, 0, 0);
    setColorStage(1, D3DTOP_DISABLE, 0, 0);
}

void CD3DFixedFunctionRenderer::applySphereMap(uint32_t stage, uint32_t coordinateSource) {
    const D3DMATRIX matrix = d3dMatrixOf(sphereMapMatrix());
    m_device->SetTransform(D3DTRANSFORMSTATETYPE(D3DTS_TEXTURE0 + stage), &matrix);
    m_device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    m_device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, coordinateSource);
}

void CD3DFixedFunctionRenderer::removeSphereMap(uint32_t stage) {
    m_device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    m_device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, stage);
    const D3DMATRIX identity = d3dMatrixOf(CMatrix4::identity());
    m_device->SetTransform(D3DTRANSFORMSTATETYPE(D3DTS_TEXTURE0 + stage), &identity);
}

// The detail layer reads the vertices' second coordinates; vertices of one set give it their
// first, as they do on the OpenGL driver, not coordinates they lack.
bool CD3DFixedFunctionRenderer::beforeDraw(IRendererServices* services, uint32_t vertexType) {
    if (m_type == MATERIAL_DETAIL_MAP) {
        const bool twoSets =
            vertexType == VERTEX_TYPE_TWO_COORDS || vertexType == VERTEX_TYPE_TANGENTS;
        m_device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, twoSets ? 1 : 0);
    }
    return CD3D9MaterialPass::beforeDraw(services, vertexType);
}

void CD3DFixedFunctionRenderer::restoreStates() {
    switch (m_type) {
    case MATERIAL_SPHERE_MAP:
        removeSphereMap(0);
        break;
    case MATERIAL_REFLECTION_2LAYER:
    case MATERIAL_TRANS_REFLECTION_2LAYER:
        removeSphereMap(1);
        break;
    case MATERIAL_TRANS_ALPHACH:
    case MATERIAL_TRANS_ALPHACH_REF:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD:
        m_device->SetRenderState(D3DRS_ALPHATESTENABLE, false);
        break;
    default:
        break;
    }
}

bool CD3DFixedFunctionRenderer::usesTransparency() const {
    return materialUsesTransparency(m_type);
}

// Arguments of 0 are not sent: the operation alone, or one that needs only the first.
void CD3DFixedFunctionRenderer::setColorStage(uint32_t stage, uint32_t operation, uint32_t arg1,
                                              uint32_t arg2) {
    m_device->SetTextureStageState(stage, D3DTSS_COLOROP, operation);
    if (operation == D3DTOP_DISABLE || operation == D3DTOP_BLENDDIFFUSEALPHA)
        return;
    m_device->SetTextureStageState(stage, D3DTSS_COLORARG1, arg1);
    if (operation != D3DTOP_SELECTARG1)
        m_device->SetTextureStageState(stage, D3DTSS_COLORARG2, arg2);
}

void CD3DFixedFunctionRenderer::setAlphaStage(uint32_t stage, uint32_t operation, uint32_t arg1,
                                              uint32_t arg2) {
    m_device->SetTextureStageState(stage, D3DTSS_ALPHAOP, operation);
    if (operation == D3DTOP_DISABLE)
        return;
    m_device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, arg1);
    if (operation != D3DTOP_SELECTARG1)
        m_device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, arg2);
}

void CD3DFixedFunctionRenderer::disableStage(uint32_t stage) {
    setColorStage(stage, D3DTOP_DISABLE, 0, 0);
    setAlphaStage(stage, D3DTOP_DISABLE, 0, 0);
}

void CD3DFixedFunctionRenderer::setBlending(bool on, uint32_t source, uint32_t destination) {
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, on);
    if (!on)
        return;
    m_device->SetRenderState(D3DRS_SRCBLEND, source);
    m_device->SetRenderState(D3DRS_DESTBLEND, destination);
}

void CD3DFixedFunctionRenderer::setAlphaTest(uint32_t reference) {
    m_device->SetRenderState(D3DRS_ALPHAREF, reference);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, true);
}

void placeFixedFunctionRenderers(CD3DDriverBase& driver) {
    for (const uint32_t type : CD3DFixedFunctionRenderer::kTypes) {
        const CRefPointer<IMaterialPass> renderer(
            new CD3DFixedFunctionRenderer(driver.getCommonDevice(), &driver, type));
        driver.setMaterialPass(int32_t(type), renderer.get(), nullptr);
    }
}
