// The Direct3D drivers' state sets of 2D image drawing and of stencil shadows.

#include <iterator>

#include "engine/video/d3d/D3DDriverBase.h"

namespace {

D3DMATRIX identityMatrix() {
    D3DMATRIX matrix;
    matrix.m[0] = matrix.m[5] = matrix.m[10] = matrix.m[15] = 1.0f;
    return matrix;
}

} // namespace

void CD3DDriverBase::setIdentityTransforms() {
    const D3DMATRIX identity = identityMatrix();
    m_common->SetTransform(D3DTS_VIEW, &identity);
    m_common->SetTransform(D3DTS_WORLD, &identity);
    m_common->SetTransform(D3DTS_PROJECTION, &identity);
}

void CD3DDriverBase::setStageOperation(uint32_t stage, uint32_t colorOperation,
                                       uint32_t alphaOperation) {
    m_common->SetTextureStageState(stage, D3DTSS_COLOROP, colorOperation);
    m_common->SetTextureStageState(stage, D3DTSS_ALPHAOP, alphaOperation);
}

void CD3DDriverBase::enter2DImageMode() {
    if (!m_common)
        return;
    if (m_renderMode != RENDER_MODE_2D || !m_imageStates || m_transformChanged) {
        if (inMaterialMode())
            restoreLastRenderer();
        setIdentityTransforms();
        m_common->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        m_common->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        m_common->SetRenderState(D3DRS_LIGHTING, false);
        m_common->SetRenderState(D3DRS_FOGENABLE, false);
        if (m_traits.linearImages)
            m_common->SetRenderState(D3DRS_SPECULARENABLE, false);
        for (uint32_t stage = 1; stage < 4; ++stage)
            setStageOperation(stage, D3DTOP_DISABLE, D3DTOP_DISABLE);
        m_common->SetRenderState(D3DRS_STENCILENABLE, false);
        m_common->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        for (uint32_t stage = 0; stage < (m_traits.linearImages ? 1 : 4); ++stage) {
            setSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
            setSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        }
        m_common->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        m_common->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        const D3DMATRIX identity = identityMatrix();
        m_common->SetTransform(D3DTS_TEXTURE0, &identity);
        m_transformChanged = false;
    }
    m_renderMode = RENDER_MODE_2D;
    m_imageStates = true;
}

void CD3DDriverBase::setAlphaBlending(bool on) {
    m_common->SetRenderState(D3DRS_ALPHABLENDENABLE, on);
    if (!on)
        return;
    m_common->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_common->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void CD3DDriverBase::set2DImageStates(bool vertexAlpha, bool textured, bool useTextureAlpha,
                                      bool scaled) {
    if (!m_common)
        return;
    enter2DImageMode();
    IDirect3DDeviceCommon& device = *m_common;
    const auto modulate = [&device](D3DTEXTURESTAGESTATETYPE operation) {
        device.SetTextureStageState(0, operation, D3DTOP_MODULATE);
        device.SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(operation + 1), D3DTA_TEXTURE);
        device.SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(operation + 2), D3DTA_DIFFUSE);
    };
    if (textured) {
        const bool linear = m_traits.linearImages || scaled;
        setSamplerState(0, D3DSAMP_MINFILTER, linear ? D3DTEXF_LINEAR : D3DTEXF_POINT);
        setSamplerState(0, D3DSAMP_MIPFILTER, linear ? D3DTEXF_POINT : D3DTEXF_NONE);
        setSamplerState(0, D3DSAMP_MAGFILTER, linear ? D3DTEXF_LINEAR : D3DTEXF_POINT);
        if (useTextureAlpha) {
            modulate(D3DTSS_COLOROP);
            modulate(D3DTSS_ALPHAOP);
            setAlphaBlending(true);
        } else if (vertexAlpha) {
            device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
            device.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
            setAlphaBlending(true);
        } else {
            modulate(D3DTSS_COLOROP);
            device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            setAlphaBlending(false);
        }
        return;
    }
    modulate(D3DTSS_COLOROP);
    if (vertexAlpha) {
        device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    } else {
        device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    }
    setAlphaBlending(vertexAlpha);
}

void CD3DDriverBase::enterShadowVolumeMode(bool depthFail) {
    if (!m_common)
        return;
    const bool inVolumeMode = m_renderMode == RENDER_MODE_SHADOW_VOLUME_ZFAIL ||
                              m_renderMode == RENDER_MODE_SHADOW_VOLUME_ZPASS;
    if (!inVolumeMode || m_transformChanged) {
        sendMatrix(D3DTS_VIEW, m_transforms[TRANSFORM_VIEW]);
        sendMatrix(D3DTS_WORLD, m_transforms[TRANSFORM_WORLD]);
        sendMatrix(D3DTS_PROJECTION, m_transforms[TRANSFORM_PROJECTION]);
        m_transformChanged = false;
        for (uint32_t stage = 0; stage < std::size(m_stageTextures); ++stage)
            setStageTexture(stage, nullptr);
        for (uint32_t stage = 0; stage < 4; ++stage)
            setStageOperation(stage, D3DTOP_DISABLE, D3DTOP_DISABLE);
        setVertexFormat(D3DFVF_XYZ);
        m_currentVertexType = -1;
        m_common->SetRenderState(D3DRS_ZWRITEENABLE, false);
        m_common->SetRenderState(D3DRS_STENCILENABLE, true);
        m_common->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
        if (m_renderMode == RENDER_MODE_3D) {
            if (IMaterialPass* pass = currentPass())
                pass->restoreStates();
        }
    }
    const int32_t mode =
        depthFail ? RENDER_MODE_SHADOW_VOLUME_ZFAIL : RENDER_MODE_SHADOW_VOLUME_ZPASS;
    if (m_renderMode != mode) {
        m_common->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
        m_common->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
        m_common->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
        if (depthFail)
            m_common->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        m_common->SetRenderState(D3DRS_STENCILREF, depthFail ? 0 : 1);
        m_common->SetRenderState(D3DRS_STENCILMASK, 0xFFFFFFFFu);
        m_common->SetRenderState(D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu);
        m_common->SetRenderState(D3DRS_ALPHABLENDENABLE, true);
        m_common->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
        m_common->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    }
    m_renderMode = mode;
    m_imageStates = false;
}

void CD3DDriverBase::enterShadowFillMode(bool alpha) {
    if (!m_common)
        return;
    if (m_renderMode != RENDER_MODE_SHADOW_FILL || m_transformChanged) {
        setIdentityTransforms();
        m_common->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        // The fill covers what the volumes marked, also when no volume was drawn before it.
        m_common->SetRenderState(D3DRS_STENCILENABLE, true);
        m_common->SetRenderState(D3DRS_LIGHTING, false);
        m_common->SetRenderState(D3DRS_FOGENABLE, false);
        for (uint32_t stage = 1; stage < 4; ++stage)
            setStageOperation(stage, D3DTOP_DISABLE, D3DTOP_DISABLE);
        m_common->SetRenderState(D3DRS_STENCILREF, 1);
        m_common->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_LESSEQUAL);
        m_common->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        m_common->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
        m_common->SetRenderState(D3DRS_STENCILMASK, 0xFFFFFFFFu);
        m_common->SetRenderState(D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu);
        m_common->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        m_transformChanged = false;
        m_common->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        m_common->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        m_common->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        if (alpha) {
            m_common->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            m_common->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        } else {
            m_common->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        }
        setAlphaBlending(alpha);
    }
    m_renderMode = RENDER_MODE_SHADOW_FILL;
    m_imageStates = false;
}
