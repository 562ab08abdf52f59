#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

// Fixed-function lighting, fog, user clip planes and the scissor rectangle.

namespace {

void setColor(const GLFunctions& gl, GLenum light, GLenum which, const CColorf& color) {
    const GLfloat values[4] = {color.r, color.g, color.b, color.a};
    gl.Lightfv(light, which, values);
}

} // namespace

void COpenGLRenderDriver::setFogParameters(CColor color, bool linearFog, float start, float end,
                                           float density, bool perPixelFog, bool rangeFog) {
    CNullRenderDriver::setFogParameters(color, linearFog, start, end, density, perPixelFog,
                                        rangeFog);
    const GLFunctions& gl = *m_gl;
    gl.Fogi(GL_FOG_MODE, linearFog ? GL_LINEAR : GL_EXP);
    if (m_extensions.has(GL_EXTENSION_EXT_FOG_COORD))
        gl.Fogi(GL_FOG_COORDINATE_SOURCE_EXT, GL_FRAGMENT_DEPTH_EXT);
    if (linearFog) {
        gl.Fogf(GL_FOG_START, start);
        gl.Fogf(GL_FOG_END, end);
    } else {
        gl.Fogf(GL_FOG_DENSITY, density);
    }
    gl.Hint(GL_FOG_HINT, perPixelFog ? GL_NICEST : GL_FASTEST);
    const GLfloat fogColor[4] = {color.getRed() / 255.0f, color.getGreen() / 255.0f,
                                 color.getBlue() / 255.0f, color.getAlpha() / 255.0f};
    gl.Fogfv(GL_FOG_COLOR, fogColor);
}

void COpenGLRenderDriver::setAmbientLight(const CColorf& color) {
    const GLfloat ambient[4] = {color.r, color.g, color.b, color.a};
    m_gl->LightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

int32_t COpenGLRenderDriver::addLight(const CLight& light) {
    const int32_t index = CNullRenderDriver::addLight(light);
    m_lightEntries.append(LightEntry());
    assignGLLight(uint32_t(index));
    return index;
}

// Gives the light the first GL light no other holds; without one it waits for a free one.
void COpenGLRenderDriver::assignGLLight(uint32_t index) {
    setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
    for (int32_t glLight = 0; glLight < int32_t(m_extensions.getMaxLights()); ++glLight) {
        bool taken = false;
        for (const LightEntry& entry : m_lightEntries)
            taken = taken || entry.glLight == glLight;
        if (taken)
            continue;
        m_lightEntries[index].glLight = glLight;
        setGLLight(glLight, m_lights[index]);
        return;
    }
}

void COpenGLRenderDriver::setGLLight(int32_t glLight, const CLight& light) {
    const GLFunctions& gl = *m_gl;
    const GLenum id = GLenum(GL_LIGHT0 + glLight);
    const CVector3d& p = light.position;
    const CVector3d& d = light.direction;
    switch (light.kind) {
    case LIGHT_SPOT: {
        const GLfloat direction[4] = {d.x, d.y, d.z, 0.0f};
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        gl.Lightfv(id, GL_SPOT_DIRECTION, direction);
        gl.Lightfv(id, GL_POSITION, position);
        gl.Lightf(id, GL_SPOT_EXPONENT, light.falloff);
        gl.Lightf(id, GL_SPOT_CUTOFF, light.outerCone);
        break;
    }
    case LIGHT_DIRECTIONAL: {
        const GLfloat position[4] = {-d.x, -d.y, -d.z, 0.0f};
        gl.Lightfv(id, GL_POSITION, position);
        gl.Lightf(id, GL_SPOT_EXPONENT, 0.0f);
        gl.Lightf(id, GL_SPOT_CUTOFF, 180.0f);
        break;
    }
    default: {
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        gl.Lightfv(id, GL_POSITION, position);
        gl.Lightf(id, GL_SPOT_EXPONENT, 0.0f);
        gl.Lightf(id, GL_SPOT_CUTOFF, 180.0f);
        break;
    }
    }
    setColor(gl, id, GL_DIFFUSE, light.diffuse);
    setColor(gl, id, GL_SPECULAR, light.specular);
    setColor(gl, id, GL_AMBIENT, light.ambient);
    gl.Lightf(id, GL_CONSTANT_ATTENUATION, light.constantAttenuation);
    gl.Lightf(id, GL_LINEAR_ATTENUATION, light.linearAttenuation);
    gl.Lightf(id, GL_QUADRATIC_ATTENUATION, light.quadraticAttenuation);
    gl.Enable(id);
}

void COpenGLRenderDriver::setLightEnabled(uint32_t index, bool on) {
    if (index >= m_lightEntries.size())
        return;
    LightEntry& entry = m_lightEntries[index];
    entry.enabled = on;
    if (on) {
        if (entry.glLight < 0)
            assignGLLight(index);
        return;
    }
    if (entry.glLight < 0)
        return;
    m_gl->Disable(GLenum(GL_LIGHT0 + entry.glLight));
    entry.glLight = -1;
    for (uint32_t other = 0; other < m_lightEntries.size(); ++other) {
        if (m_lightEntries[other].enabled && m_lightEntries[other].glLight < 0) {
            assignGLLight(other);
            return;
        }
    }
}

void COpenGLRenderDriver::removeAllLights() {
    for (uint32_t glLight = 0; glLight < m_extensions.getMaxLights(); ++glLight)
        m_gl->Disable(GL_LIGHT0 + glLight);
    m_lightEntries.clear();
    CNullRenderDriver::removeAllLights();
}

bool COpenGLRenderDriver::setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) {
    if (index >= m_clipPlanes.size())
        return false;
    m_clipPlanes[index].plane = plane;
    enableClipPlane(index, enable);
    return true;
}

void COpenGLRenderDriver::enableClipPlane(uint32_t index, bool on) {
    if (index >= m_clipPlanes.size())
        return;
    ClipPlaneEntry& entry = m_clipPlanes[index];
    const GLenum id = GLenum(GL_CLIP_PLANE0 + index);
    if (!on) {
        m_gl->Disable(id);
    } else {
        const GLdouble equation[4] = {entry.plane.a, entry.plane.b, entry.plane.c, entry.plane.d};
        m_gl->ClipPlane(id, equation);
        if (!entry.enabled)
            m_gl->Enable(id);
    }
    entry.enabled = on;
}

// Planes live in eye space: GL takes them through the model-view of the moment they are set.
void COpenGLRenderDriver::reloadClipPlanes() {
    for (uint32_t index = 0; index < m_clipPlanes.size(); ++index) {
        if (m_clipPlanes[index].enabled)
            enableClipPlane(index, true);
    }
}

void COpenGLRenderDriver::setScissorRect(const CPixelRect& rect) {
    m_gl->Scissor(rect.left, int32_t(m_screenSize.height) - rect.bottom, rect.right - rect.left,
                  rect.bottom - rect.top);
}

void COpenGLRenderDriver::enableScissor(bool on) {
    if (on)
        m_gl->Enable(GL_SCISSOR_TEST);
    else
        m_gl->Disable(GL_SCISSOR_TEST);
}
