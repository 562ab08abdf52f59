// The GL device's state mirror: what the caller sets is kept, and what changed since the last
// draw is sent to GL before it.

#include <bit>
#include <cmath>
#include <cstring>

#include "engine/video/d3d/host/D3D9GLFormats.h"
#include "engine/video/d3d/host/GLDirect3DDevice9.h"

namespace {

GLenum compareFunctionOf(uint32_t function) {
    return function >= D3DCMP_NEVER && function <= D3DCMP_ALWAYS ? GL_NEVER + (function - 1)
                                                                 : GL_ALWAYS;
}

GLenum blendFactorOf(uint32_t blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

GLenum stencilOpOf(uint32_t operation) {
    switch (operation) {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

void toFloats(float out[4], const D3DCOLORVALUE& color) {
    out[0] = color.r;
    out[1] = color.g;
    out[2] = color.b;
    out[3] = color.a;
}

float floatOf(uint32_t bits) {
    return std::bit_cast<float>(bits);
}

} // namespace

HRESULT CGLDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (!matrix)
        return D3DERR_INVALIDCALL;
    switch (state) {
    case D3DTS_WORLD:
        m_world = *matrix;
        break;
    case D3DTS_VIEW:
        m_view = *matrix;
        m_lightsDirty = m_clipPlanesDirty = true;
        break;
    case D3DTS_PROJECTION:
        m_projection = *matrix;
        break;
    default:
        if (state < D3DTS_TEXTURE0 || state >= D3DTS_TEXTURE0 + kStageCount)
            return D3DERR_INVALIDCALL;
        m_stages[state - D3DTS_TEXTURE0].transform = *matrix;
        m_stages[state - D3DTS_TEXTURE0].dirty = true;
        return D3D_OK;
    }
    m_transformsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetMaterial(const D3DMATERIAL9* material) {
    if (!material)
        return D3DERR_INVALIDCALL;
    m_material = *material;
    m_materialDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetLight(uint32_t index, const D3DLIGHT9* light) {
    if (!light || index >= m_caps.MaxActiveLights)
        return D3DERR_INVALIDCALL;
    m_lights[index].light = *light;
    m_lightsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::LightEnable(uint32_t index, bool enable) {
    if (index >= m_caps.MaxActiveLights)
        return D3DERR_INVALIDCALL;
    m_lights[index].enabled = enable;
    m_lightsDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetClipPlane(uint32_t index, const float* plane) {
    if (!plane || index >= kMaxClipPlanes)
        return D3DERR_INVALIDCALL;
    std::memcpy(m_clipPlanes[index], plane, sizeof(m_clipPlanes[index]));
    m_clipPlanesDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    if (state >= kRenderStateCount)
        return D3DERR_INVALIDCALL;
    if (m_renderStates[state] != value) {
        m_renderStates[state] = value;
        markDirty(state);
    }
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    if (state >= kRenderStateCount || !value)
        return D3DERR_INVALIDCALL;
    *value = m_renderStates[state];
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type,
                                                 uint32_t value) {
    if (stage >= kStageCount || type >= kStageStateCount)
        return D3DERR_INVALIDCALL;
    if (m_stages[stage].states[type] != value) {
        m_stages[stage].states[type] = value;
        m_stages[stage].dirty = true;
    }
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type,
                                            uint32_t value) {
    if (sampler >= kStageCount || type >= kSamplerStateCount)
        return D3DERR_INVALIDCALL;
    if (m_stages[sampler].samplerStates[type] != value) {
        m_stages[sampler].samplerStates[type] = value;
        m_stages[sampler].dirty = true;
    }
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetScissorRect(const RECT* rect) {
    if (!rect)
        return D3DERR_INVALIDCALL;
    m_scissor = *rect;
    m_scissorDirty = true;
    return D3D_OK;
}

HRESULT CGLDirect3DDevice9::SetFVF(uint32_t fvf) {
    // Untransformed positions only: the drivers never hand over screen-space vertices.
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ)
        return D3DERR_INVALIDCALL;
    m_fvf = fvf;
    return D3D_OK;
}

void CGLDirect3DDevice9::setEnabled(GLenum capability, bool on) {
    if (on)
        m_gl.Enable(capability);
    else
        m_gl.Disable(capability);
}

void CGLDirect3DDevice9::flushStates(GLenum mode) {
    const bool triangles = mode != GL_POINTS && mode != GL_LINES && mode != GL_LINE_STRIP;
    if (triangles != m_trianglesNudged) {
        m_trianglesNudged = triangles;
        m_transformsDirty = true;
    }
    for (uint32_t word = 0; word < kRenderStateCount / 64; ++word) {
        uint64_t bits = m_dirtyStates[word];
        m_dirtyStates[word] = 0;
        while (bits) {
            applyRenderState(word * 64 + uint32_t(std::countr_zero(bits)));
            bits &= bits - 1;
        }
    }
    if (m_materialDirty)
        applyMaterialStates();
    if (m_transformsDirty || m_lightsDirty || m_clipPlanesDirty)
        applyTransforms();
    if (m_scissorDirty)
        applyScissor();
    applyStages();
}

void CGLDirect3DDevice9::applyRenderState(uint32_t state) {
    const uint32_t value = m_renderStates[state];
    switch (state) {
    case D3DRS_ZENABLE:
        setEnabled(GL_DEPTH_TEST, value != D3DZB_FALSE);
        break;
    case D3DRS_ZFUNC:
        m_gl.DepthFunc(compareFunctionOf(value));
        break;
    case D3DRS_ZWRITEENABLE:
        m_gl.DepthMask(value ? GL_TRUE : GL_FALSE);
        break;
    case D3DRS_FILLMODE:
        m_gl.PolygonMode(GL_FRONT_AND_BACK, value == D3DFILL_POINT       ? GL_POINT
                                            : value == D3DFILL_WIREFRAME ? GL_LINE
                                                                         : GL_FILL);
        break;
    case D3DRS_SHADEMODE:
        m_gl.ShadeModel(value == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
        break;
    case D3DRS_CULLMODE:
        // Front faces are clockwise, as in Direct3D (set with the defaults).
        setEnabled(GL_CULL_FACE, value != D3DCULL_NONE);
        m_gl.CullFace(value == D3DCULL_CW ? GL_FRONT : GL_BACK);
        break;
    case D3DRS_ALPHATESTENABLE:
        setEnabled(GL_ALPHA_TEST, value != 0);
        break;
    case D3DRS_ALPHAFUNC:
    case D3DRS_ALPHAREF:
        m_gl.AlphaFunc(compareFunctionOf(m_renderStates[D3DRS_ALPHAFUNC]),
                       float(m_renderStates[D3DRS_ALPHAREF] & 0xFF) / 255.0f);
        break;
    case D3DRS_ALPHABLENDENABLE:
        setEnabled(GL_BLEND, value != 0);
        break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        m_gl.BlendFunc(blendFactorOf(m_renderStates[D3DRS_SRCBLEND]),
                       blendFactorOf(m_renderStates[D3DRS_DESTBLEND]));
        break;
    case D3DRS_FOGENABLE:
    case D3DRS_FOGCOLOR:
    case D3DRS_FOGTABLEMODE:
    case D3DRS_FOGVERTEXMODE:
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
        applyFogStates();
        break;
    case D3DRS_STENCILENABLE:
        setEnabled(GL_STENCIL_TEST, value != 0);
        break;
    case D3DRS_STENCILFUNC:
    case D3DRS_STENCILREF:
    case D3DRS_STENCILMASK:
        m_gl.StencilFunc(compareFunctionOf(m_renderStates[D3DRS_STENCILFUNC]),
                         GLint(m_renderStates[D3DRS_STENCILREF]),
                         m_renderStates[D3DRS_STENCILMASK]);
        break;
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS:
        m_gl.StencilOp(stencilOpOf(m_renderStates[D3DRS_STENCILFAIL]),
                       stencilOpOf(m_renderStates[D3DRS_STENCILZFAIL]),
                       stencilOpOf(m_renderStates[D3DRS_STENCILPASS]));
        break;
    case D3DRS_STENCILWRITEMASK:
        m_gl.StencilMask(value);
        break;
    case D3DRS_LIGHTING:
        setEnabled(GL_LIGHTING, value != 0);
        break;
    case D3DRS_AMBIENT: {
        float ambient[4];
        floatsOfColor(value, ambient);
        m_gl.LightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        break;
    }
    case D3DRS_COLORVERTEX:
    case D3DRS_DIFFUSEMATERIALSOURCE:
    case D3DRS_SPECULARMATERIALSOURCE:
    case D3DRS_AMBIENTMATERIALSOURCE:
    case D3DRS_EMISSIVEMATERIALSOURCE:
        m_materialDirty = true;
        break;
    case D3DRS_NORMALIZENORMALS:
        setEnabled(GL_NORMALIZE, value != 0);
        break;
    case D3DRS_CLIPPLANEENABLE:
        for (uint32_t i = 0; i < kMaxClipPlanes; ++i)
            setEnabled(GL_CLIP_PLANE0 + i, (value >> i) & 1);
        break;
    case D3DRS_POINTSIZE: {
        // Vendor switches travel in this state as codes that are no size at all.
        const float size = floatOf(value);
        if (std::isfinite(size) && size >= 1.0f)
            m_gl.PointSize(size);
        break;
    }
    case D3DRS_POINTSIZE_MIN:
    case D3DRS_POINTSPRITEENABLE:
    case D3DRS_POINTSCALEENABLE:
    case D3DRS_POINTSCALE_A:
    case D3DRS_POINTSCALE_B:
    case D3DRS_POINTSCALE_C:
        applyPointStates();
        break;
    case D3DRS_MULTISAMPLEANTIALIAS:
        setEnabled(GL_MULTISAMPLE, value != 0);
        break;
    case D3DRS_COLORWRITEENABLE:
        m_gl.ColorMask(value & D3DCOLORWRITEENABLE_RED ? GL_TRUE : GL_FALSE,
                       value & D3DCOLORWRITEENABLE_GREEN ? GL_TRUE : GL_FALSE,
                       value & D3DCOLORWRITEENABLE_BLUE ? GL_TRUE : GL_FALSE,
                       value & D3DCOLORWRITEENABLE_ALPHA ? GL_TRUE : GL_FALSE);
        break;
    case D3DRS_SCISSORTESTENABLE:
        setEnabled(GL_SCISSOR_TEST, value != 0);
        break;
    case D3DRS_ANTIALIASEDLINEENABLE:
        setEnabled(GL_LINE_SMOOTH, value != 0);
        break;
    default:
        break;
    }
}

// The table mode wins over the vertex mode, as in Direct3D; either is distance from the eye.
void CGLDirect3DDevice9::applyFogStates() {
    const uint32_t table = m_renderStates[D3DRS_FOGTABLEMODE];
    const uint32_t mode = table != D3DFOG_NONE ? table : m_renderStates[D3DRS_FOGVERTEXMODE];
    setEnabled(GL_FOG, m_renderStates[D3DRS_FOGENABLE] && mode != D3DFOG_NONE);
    m_gl.Fogi(GL_FOG_MODE, mode == D3DFOG_LINEAR ? GL_LINEAR
                           : mode == D3DFOG_EXP2 ? GL_EXP2
                                                 : GL_EXP);
    float rgba[4];
    floatsOfColor(m_renderStates[D3DRS_FOGCOLOR], rgba);
    m_gl.Fogfv(GL_FOG_COLOR, rgba);
    m_gl.Fogf(GL_FOG_START, floatOf(m_renderStates[D3DRS_FOGSTART]));
    m_gl.Fogf(GL_FOG_END, floatOf(m_renderStates[D3DRS_FOGEND]));
    m_gl.Fogf(GL_FOG_DENSITY, floatOf(m_renderStates[D3DRS_FOGDENSITY]));
}

// Direct3D scales points by the viewport height over the distance terms; GL by the terms alone.
void CGLDirect3DDevice9::applyPointStates() {
    const bool sprites = m_renderStates[D3DRS_POINTSPRITEENABLE] != 0;
    setEnabled(GL_POINT_SPRITE, sprites);
    if (m_gl.ActiveTextureARB)
        m_gl.ActiveTextureARB(GL_TEXTURE0_ARB);
    m_gl.TexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, sprites ? GL_TRUE : GL_FALSE);
    if (!m_gl.PointParameterfvARB)
        return;
    const float height = float(m_viewport.Height);
    float terms[3] = {floatOf(m_renderStates[D3DRS_POINTSCALE_A]),
                      floatOf(m_renderStates[D3DRS_POINTSCALE_B]),
                      floatOf(m_renderStates[D3DRS_POINTSCALE_C])};
    if (m_renderStates[D3DRS_POINTSCALEENABLE] && terms[0] + terms[1] + terms[2] > 0) {
        for (float& term : terms)
            term /= height * height;
    } else {
        terms[0] = 1.0f;
        terms[1] = terms[2] = 0.0f;
    }
    m_gl.PointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, terms);
    m_gl.PointParameterfARB(GL_POINT_SIZE_MIN_ARB, floatOf(m_renderStates[D3DRS_POINTSIZE_MIN]));
}

void CGLDirect3DDevice9::applyMaterialStates() {
    m_materialDirty = false;
    float values[4];
    toFloats(values, m_material.Ambient);
    m_gl.Materialfv(GL_FRONT_AND_BACK, GL_AMBIENT, values);
    toFloats(values, m_material.Diffuse);
    m_gl.Materialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, values);
    toFloats(values, m_material.Specular);
    m_gl.Materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, values);
    toFloats(values, m_material.Emissive);
    m_gl.Materialfv(GL_FRONT_AND_BACK, GL_EMISSION, values);
    const float power = m_material.Power;
    m_gl.Materialf(GL_FRONT_AND_BACK, GL_SHININESS, power < 0 ? 0 : power > 128 ? 128 : power);
    // GL follows the vertex colour with one material colour at a time.
    const auto follows = [this](uint32_t state) { return m_renderStates[state] == D3DMCS_COLOR1; };
    GLenum tracked = 0;
    if (m_renderStates[D3DRS_COLORVERTEX]) {
        if (follows(D3DRS_DIFFUSEMATERIALSOURCE) && follows(D3DRS_AMBIENTMATERIALSOURCE))
            tracked = GL_AMBIENT_AND_DIFFUSE;
        else if (follows(D3DRS_DIFFUSEMATERIALSOURCE))
            tracked = GL_DIFFUSE;
        else if (follows(D3DRS_AMBIENTMATERIALSOURCE))
            tracked = GL_AMBIENT;
        else if (follows(D3DRS_EMISSIVEMATERIALSOURCE))
            tracked = GL_EMISSION;
        else if (follows(D3DRS_SPECULARMATERIALSOURCE))
            tracked = GL_SPECULAR;
    }
    if (tracked)
        m_gl.ColorMaterial(GL_FRONT_AND_BACK, tracked);
    setEnabled(GL_COLOR_MATERIAL, tracked != 0);
}

void CGLDirect3DDevice9::applyTransforms() {
    // Direct3D's depth 0 to 1 becomes GL's -1 to 1, and everything moves half a pixel right and
    // down, where GL samples the pixel Direct3D samples at its whole coordinates. For triangles a
    // little less than half down: an edge on a row's centre then covers it when it is a top edge,
    // as in Direct3D, although GL's rows count upwards. Lines and points keep GL's own rules for
    // their ends, which the nudge would tip. A texture target is drawn upside down, so that its
    // first row is Direct3D's top row.
    const float tieNudge = m_trianglesNudged ? 1.0f / 256.0f : 0.0f;
    const float down = m_targetTexture ? -1.0f : 1.0f;
    float toGL[16] = {1, 0, 0, 0, 0, down, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};
    toGL[12] = 1.0f / float(m_viewport.Width);
    toGL[13] = -down * (1.0f - 2.0f * tieNudge) / float(m_viewport.Height);
    m_gl.MatrixMode(GL_PROJECTION);
    m_gl.LoadMatrixf(toGL);
    m_gl.MultMatrixf(m_projection.m);
    m_gl.MatrixMode(GL_MODELVIEW);
    // Lights and clip planes are given in world space: GL moves them by the view alone.
    m_gl.LoadMatrixf(m_view.m);
    if (m_lightsDirty)
        applyLights();
    if (m_clipPlanesDirty)
        applyClipPlanes();
    m_gl.MultMatrixf(m_world.m);
    m_transformsDirty = false;
}

void CGLDirect3DDevice9::applyLights() {
    m_lightsDirty = false;
    for (uint32_t i = 0; i < m_caps.MaxActiveLights; ++i) {
        const GLenum id = GL_LIGHT0 + i;
        const Light& entry = m_lights[i];
        setEnabled(id, entry.enabled);
        if (!entry.enabled)
            continue;
        const D3DLIGHT9& light = entry.light;
        float values[4];
        toFloats(values, light.Diffuse);
        m_gl.Lightfv(id, GL_DIFFUSE, values);
        toFloats(values, light.Specular);
        m_gl.Lightfv(id, GL_SPECULAR, values);
        toFloats(values, light.Ambient);
        m_gl.Lightfv(id, GL_AMBIENT, values);
        if (light.Type == D3DLIGHT_DIRECTIONAL) {
            const float towards[4] = {-light.Direction.x, -light.Direction.y, -light.Direction.z,
                                      0.0f};
            m_gl.Lightfv(id, GL_POSITION, towards);
        } else {
            const float position[4] = {light.Position.x, light.Position.y, light.Position.z, 1.0f};
            m_gl.Lightfv(id, GL_POSITION, position);
        }
        m_gl.Lightf(id, GL_CONSTANT_ATTENUATION, light.Attenuation0);
        m_gl.Lightf(id, GL_LINEAR_ATTENUATION, light.Attenuation1);
        m_gl.Lightf(id, GL_QUADRATIC_ATTENUATION, light.Attenuation2);
        if (light.Type == D3DLIGHT_SPOT) {
            const float direction[3] = {light.Direction.x, light.Direction.y, light.Direction.z};
            const float cutoff = light.Phi * 0.5f * 180.0f / 3.14159265f;
            m_gl.Lightfv(id, GL_SPOT_DIRECTION, direction);
            m_gl.Lightf(id, GL_SPOT_CUTOFF, cutoff > 90.0f ? 90.0f : cutoff);
            m_gl.Lightf(id, GL_SPOT_EXPONENT,
                        light.Falloff < 0     ? 0
                        : light.Falloff > 128 ? 128
                                              : light.Falloff);
        } else {
            m_gl.Lightf(id, GL_SPOT_CUTOFF, 180.0f);
        }
    }
}

void CGLDirect3DDevice9::applyClipPlanes() {
    m_clipPlanesDirty = false;
    for (uint32_t i = 0; i < kMaxClipPlanes; ++i) {
        const double equation[4] = {m_clipPlanes[i][0], m_clipPlanes[i][1], m_clipPlanes[i][2],
                                    m_clipPlanes[i][3]};
        m_gl.ClipPlane(GL_CLIP_PLANE0 + i, equation);
    }
}

void CGLDirect3DDevice9::applyScissor() {
    m_scissorDirty = false;
    // GL counts the window's rows from the bottom; a texture target's are top-down.
    const GLint y = m_targetTexture ? m_scissor.top : m_targetHeight - m_scissor.bottom;
    m_gl.Scissor(m_scissor.left, y, m_scissor.right - m_scissor.left,
                 m_scissor.bottom - m_scissor.top);
}
