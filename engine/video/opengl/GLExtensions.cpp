#include "engine/video/opengl/GLExtensions.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"

namespace {

constexpr const char* kExtensionNames[GL_EXTENSION_COUNT] = {
    "GL_ARB_fragment_program",
    "GL_ARB_multisample",
    "GL_ARB_multitexture",
    "GL_ARB_point_sprite",
    "GL_ARB_shading_language_100",
    "GL_ARB_texture_border_clamp",
    "GL_ARB_texture_env_combine",
    "GL_ARB_texture_mirrored_repeat",
    "GL_ARB_texture_non_power_of_two",
    "GL_ARB_vertex_buffer_object",
    "GL_ARB_vertex_program",
    "GL_EXT_fog_coord",
    "GL_EXT_framebuffer_object",
    "GL_EXT_packed_depth_stencil",
    "GL_EXT_separate_specular_color",
    "GL_EXT_stencil_wrap",
    "GL_EXT_texture_filter_anisotropic",
    "GL_MESA_pack_invert",
    "GL_NV_multisample_filter_hint",
    "GL_SGIS_generate_mipmap",
    "GL_SGIS_texture_border_clamp",
    "GL_SGIS_texture_edge_clamp",
};

const char* stringOf(const GLFunctions& gl, GLenum name) {
    return reinterpret_cast<const char*>(gl.GetString(name));
}

uint8_t byteLimit(const GLFunctions& gl, GLenum name) {
    GLint value = 0;
    gl.GetIntegerv(name, &value);
    return uint8_t(std::clamp(value, 0, 255));
}

void logLine(const char* text, CLogger::Level level) {
    CLogger::instance()->logChars(text, level);
}

} // namespace

void CGLExtensions::init(const GLFunctions& gl, bool stencilBuffer) {
    m_version = uint16_t(parseGLVersion(stringOf(gl, GL_VERSION)));
    if (m_version < 102)
        logLine("OpenGL driver version is not 1.2 or better.", CLogger::LevelWarning);
    else
        logLine("OpenGL driver version is 1.2 or better.", CLogger::LevelInformation);
    readExtensionNames(stringOf(gl, GL_EXTENSIONS));
    m_multitexture = has(GL_EXTENSION_ARB_MULTITEXTURE);
    m_stencilBuffer = stencilBuffer;
    readLimits(gl);
    if (has(GL_EXTENSION_ARB_SHADING_LANGUAGE_100) || m_version >= 200)
        readShadingLanguageVersion(gl);
    if (!gl.ActiveTextureARB || !gl.ClientActiveTextureARB) {
        m_multitexture = false;
        logLine("Failed to load OpenGL's multitexture extension, proceeding without.",
                CLogger::LevelWarning);
    } else if (m_textureUnits < 2) {
        m_multitexture = false;
        logLine("Warning: OpenGL device only has one texture unit. Disabling multitexturing.",
                CLogger::LevelWarning);
    }
    m_textureUnits = std::min<uint8_t>(m_textureUnits, 4);
}

// Every name of the list counts, the last one too, with or without a blank after it.
void CGLExtensions::readExtensionNames(const char* names) {
    for (uint32_t i = 0; i < GL_EXTENSION_COUNT; ++i)
        m_flags[i] = hasGLExtension(names, kExtensionNames[i]);
}

void CGLExtensions::readLimits(const GLFunctions& gl) {
    if (m_version >= 103 || has(GL_EXTENSION_ARB_MULTITEXTURE))
        m_textureUnits = byteLimit(gl, GL_MAX_TEXTURE_UNITS_ARB);
    m_maxLights = byteLimit(gl, GL_MAX_LIGHTS);
    if (has(GL_EXTENSION_EXT_TEXTURE_FILTER_ANISOTROPIC)) {
        GLfloat anisotropy = 1.0f;
        gl.GetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        m_maxAnisotropy = uint8_t(std::clamp(anisotropy, 0.0f, 255.0f));
    }
    m_maxClipPlanes = byteLimit(gl, GL_MAX_CLIP_PLANES);
    m_auxBuffers = byteLimit(gl, GL_AUX_BUFFERS);
    gl.GetFloatv(GL_ALIASED_POINT_SIZE_RANGE, m_aliasedPointSizeRange);
    GLint maxTextureSize = 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    m_maxTextureSize = maxTextureSize > 0 ? uint32_t(maxTextureSize) : 0;
}

void CGLExtensions::readShadingLanguageVersion(const GLFunctions& gl) {
    gl.clearErrors();
    const char* text = stringOf(gl, GL_SHADING_LANGUAGE_VERSION_ARB);
    if (gl.GetError() == GL_INVALID_ENUM)
        m_shadingLanguageVersion = 100;
    else
        m_shadingLanguageVersion = uint16_t(parseGLVersion(text));
}
