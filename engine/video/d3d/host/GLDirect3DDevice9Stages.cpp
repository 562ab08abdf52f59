// The GL device's texture stages as GL texture units combining as Direct3D's stage operations
// say, and the vertex arrays of the current vertex format.

#include "engine/video/d3d/host/GLDirect3DDevice9.h"

namespace {

GLenum sourceOf(uint32_t argument) {
    switch (argument & 0xF) {
    case D3DTA_DIFFUSE:
        return GL_PRIMARY_COLOR_ARB;
    case D3DTA_TEXTURE:
        return GL_TEXTURE;
    default:
        return GL_PREVIOUS_ARB;
    }
}

// A vertex's coordinate sets hold two floats, or three or four or one as the size bits say.
uint32_t floatsOfCoordinateSet(uint32_t fvf, uint32_t set) {
    static const uint32_t floats[4] = {2, 3, 4, 1};
    return floats[(fvf >> (16 + set * 2)) & 3];
}

} // namespace

GLuint CGLDirect3DDevice9::whiteTexture() {
    if (m_whiteTexture == 0) {
        const uint32_t white = 0xFFFFFFFFu;
        m_gl.GenTextures(1, &m_whiteTexture);
        m_gl.BindTexture(GL_TEXTURE_2D, m_whiteTexture);
        m_gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        m_gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        m_gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    }
    return m_whiteTexture;
}

void CGLDirect3DDevice9::applyStages() {
    uint32_t enabled = 0;
    while (enabled < m_unitCount && m_stages[enabled].states[D3DTSS_COLOROP] != D3DTOP_DISABLE)
        ++enabled;
    const auto select = [this](uint32_t unit) {
        if (m_gl.ActiveTextureARB)
            m_gl.ActiveTextureARB(GL_TEXTURE0_ARB + unit);
    };
    for (uint32_t unit = enabled; unit < m_enabledUnits; ++unit) {
        select(unit);
        m_gl.Disable(GL_TEXTURE_2D);
        m_gl.Disable(GL_TEXTURE_GEN_S);
        m_gl.Disable(GL_TEXTURE_GEN_T);
        m_gl.Disable(GL_TEXTURE_GEN_R);
        m_stages[unit].dirty = true;
    }
    for (uint32_t unit = 0; unit < enabled; ++unit) {
        Stage& stage = m_stages[unit];
        select(unit);
        if (stage.dirty || unit >= m_enabledUnits)
            applyStage(unit, stage);
        else if (stage.texture)
            stage.texture->bind(stage.samplerStates);
    }
    m_enabledUnits = enabled;
    select(0);
}

// A stage without a texture reads white, as Direct3D's fixed function does.
void CGLDirect3DDevice9::applyStage(uint32_t unit, Stage& stage) {
    m_gl.Enable(GL_TEXTURE_2D);
    if (stage.texture)
        stage.texture->bind(stage.samplerStates);
    else
        m_gl.BindTexture(GL_TEXTURE_2D, whiteTexture());
    m_gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    applyCombiner(stage.states, false);
    applyCombiner(stage.states, true);
    applyCoordinateSource(unit, stage);
    stage.dirty = false;
}

void CGLDirect3DDevice9::applyCombiner(const uint32_t* states, bool alpha) {
    const uint32_t operation = states[alpha ? D3DTSS_ALPHAOP : D3DTSS_COLOROP];
    const GLenum first = sourceOf(states[alpha ? D3DTSS_ALPHAARG1 : D3DTSS_COLORARG1]);
    const GLenum second = sourceOf(states[alpha ? D3DTSS_ALPHAARG2 : D3DTSS_COLORARG2]);
    const GLenum operand = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    GLenum mode = GL_MODULATE;
    GLenum sources[3] = {first, second, GL_PREVIOUS_ARB};
    GLenum operands[3] = {operand, operand, operand};
    float scale = 1.0f;
    switch (operation) {
    case D3DTOP_DISABLE:
        // Only the alpha of an enabled stage gets here: it passes the alpha on.
        mode = GL_REPLACE;
        sources[0] = GL_PREVIOUS_ARB;
        break;
    case D3DTOP_SELECTARG1:
        mode = GL_REPLACE;
        break;
    case D3DTOP_SELECTARG2:
        mode = GL_REPLACE;
        sources[0] = second;
        break;
    case D3DTOP_MODULATE2X:
        scale = 2.0f;
        break;
    case D3DTOP_MODULATE4X:
        scale = 4.0f;
        break;
    case D3DTOP_ADD:
        mode = GL_ADD;
        break;
    case D3DTOP_ADDSIGNED:
        mode = GL_ADD_SIGNED_ARB;
        break;
    case D3DTOP_BLENDDIFFUSEALPHA:
        mode = GL_INTERPOLATE_ARB;
        sources[2] = GL_PRIMARY_COLOR_ARB;
        operands[2] = GL_SRC_ALPHA;
        break;
    default:
        break;
    }
    m_gl.TexEnvi(GL_TEXTURE_ENV, alpha ? GL_COMBINE_ALPHA_ARB : GL_COMBINE_RGB_ARB, GLint(mode));
    const GLenum sourceNames[3] = {alpha ? GLenum(GL_SOURCE0_ALPHA_ARB) : GL_SOURCE0_RGB_ARB,
                                   alpha ? GLenum(GL_SOURCE1_ALPHA_ARB) : GL_SOURCE1_RGB_ARB,
                                   alpha ? GLenum(GL_SOURCE2_ALPHA_ARB) : GL_SOURCE2_RGB_ARB};
    const GLenum operandNames[3] = {alpha ? GLenum(GL_OPERAND0_ALPHA_ARB) : GL_OPERAND0_RGB_ARB,
                                    alpha ? GLenum(GL_OPERAND1_ALPHA_ARB) : GL_OPERAND1_RGB_ARB,
                                    alpha ? GLenum(GL_OPERAND2_ALPHA_ARB) : GL_OPERAND2_RGB_ARB};
    for (int i = 0; i < 3; ++i) {
        m_gl.TexEnvi(GL_TEXTURE_ENV, sourceNames[i], GLint(sources[i]));
        m_gl.TexEnvi(GL_TEXTURE_ENV, operandNames[i], GLint(operands[i]));
    }
    m_gl.TexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE_ARB, scale);
}

// Generated coordinates come from GL's eye space, which is Direct3D's camera space here. A
// texture transform of two coordinates reads vertex coordinates as (u, v, 1, 0), Direct3D's
// way: its third row moves to where GL's (s, t, 0, 1) finds the translation.
void CGLDirect3DDevice9::applyCoordinateSource(uint32_t, const Stage& stage) {
    const uint32_t source = stage.states[D3DTSS_TEXCOORDINDEX] & 0xFFFF0000u;
    GLint generation = 0;
    if (source == D3DTSS_TCI_CAMERASPACENORMAL)
        generation = GL_NORMAL_MAP_ARB;
    else if (source == D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR)
        generation = GL_REFLECTION_MAP_ARB;
    for (const GLenum coordinate : {GL_S, GL_T, GL_R}) {
        if (generation)
            m_gl.TexGeni(coordinate, GL_TEXTURE_GEN_MODE, generation);
    }
    setEnabled(GL_TEXTURE_GEN_S, generation != 0);
    setEnabled(GL_TEXTURE_GEN_T, generation != 0);
    setEnabled(GL_TEXTURE_GEN_R, generation != 0);
    m_gl.MatrixMode(GL_TEXTURE);
    if (stage.states[D3DTSS_TEXTURETRANSFORMFLAGS] == D3DTTFF_DISABLE) {
        m_gl.LoadIdentity();
    } else {
        float matrix[16];
        for (int i = 0; i < 16; ++i)
            matrix[i] = stage.transform.m[i];
        if (generation == 0) {
            for (int i = 0; i < 4; ++i) {
                matrix[12 + i] = matrix[8 + i];
                matrix[8 + i] = 0.0f;
            }
        }
        // Two coordinates are not divided by a fourth.
        matrix[3] = matrix[7] = matrix[11] = 0.0f;
        matrix[15] = 1.0f;
        m_gl.LoadMatrixf(matrix);
    }
    m_gl.MatrixMode(GL_MODELVIEW);
}

void CGLDirect3DDevice9::bindVertices(const void* vertices, uint32_t stride) {
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    size_t offset = 0;
    m_gl.EnableClientState(GL_VERTEX_ARRAY);
    m_gl.VertexPointer(3, GL_FLOAT, GLsizei(stride), bytes);
    offset += 12;
    if (m_fvf & D3DFVF_NORMAL) {
        m_gl.EnableClientState(GL_NORMAL_ARRAY);
        m_gl.NormalPointer(GL_FLOAT, GLsizei(stride), bytes + offset);
        offset += 12;
    } else {
        m_gl.DisableClientState(GL_NORMAL_ARRAY);
    }
    if (m_fvf & D3DFVF_DIFFUSE) {
        // The packed colour's bytes in memory are blue, green, red, alpha.
        m_gl.EnableClientState(GL_COLOR_ARRAY);
        m_gl.ColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), bytes + offset);
        offset += 4;
    } else {
        m_gl.DisableClientState(GL_COLOR_ARRAY);
        m_gl.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (m_fvf & D3DFVF_SPECULAR)
        offset += 4;
    bindTextureCoordinates(bytes + offset, stride);
}

void CGLDirect3DDevice9::bindTextureCoordinates(const uint8_t* coordinates, uint32_t stride) {
    const uint32_t setCount = (m_fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    size_t offsets[8] = {};
    for (uint32_t set = 1; set < setCount && set < 8; ++set)
        offsets[set] = offsets[set - 1] + floatsOfCoordinateSet(m_fvf, set - 1) * sizeof(float);
    for (uint32_t unit = 0; unit < m_unitCount; ++unit) {
        if (m_gl.ClientActiveTextureARB)
            m_gl.ClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
        const uint32_t index = m_stages[unit].states[D3DTSS_TEXCOORDINDEX];
        const uint32_t set = index & 0xFFFF;
        if (unit < m_enabledUnits && (index & 0xFFFF0000u) == 0 && set < setCount) {
            m_gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
            m_gl.TexCoordPointer(GLint(floatsOfCoordinateSet(m_fvf, set)), GL_FLOAT,
                                 GLsizei(stride), coordinates + offsets[set]);
        } else {
            m_gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    }
    if (m_gl.ClientActiveTextureARB)
        m_gl.ClientActiveTextureARB(GL_TEXTURE0_ARB);
}
