#pragma once

#include <cstdint>

struct GLFunctions;

// The extensions the driver looks for, by their names in the context's extension list.
enum EGLExtension : uint32_t {
    GL_EXTENSION_ARB_FRAGMENT_PROGRAM,
    GL_EXTENSION_ARB_MULTISAMPLE,
    GL_EXTENSION_ARB_MULTITEXTURE,
    GL_EXTENSION_ARB_POINT_SPRITE,
    GL_EXTENSION_ARB_SHADING_LANGUAGE_100,
    GL_EXTENSION_ARB_TEXTURE_BORDER_CLAMP,
    GL_EXTENSION_ARB_TEXTURE_ENV_COMBINE,
    GL_EXTENSION_ARB_TEXTURE_MIRRORED_REPEAT,
    GL_EXTENSION_ARB_TEXTURE_NON_POWER_OF_TWO,
    GL_EXTENSION_ARB_VERTEX_BUFFER_OBJECT,
    GL_EXTENSION_ARB_VERTEX_PROGRAM,
    GL_EXTENSION_EXT_FOG_COORD,
    GL_EXTENSION_EXT_FRAMEBUFFER_OBJECT,
    GL_EXTENSION_EXT_PACKED_DEPTH_STENCIL,
    GL_EXTENSION_EXT_SEPARATE_SPECULAR_COLOR,
    GL_EXTENSION_EXT_STENCIL_WRAP,
    GL_EXTENSION_EXT_TEXTURE_FILTER_ANISOTROPIC,
    GL_EXTENSION_MESA_PACK_INVERT,
    GL_EXTENSION_NV_MULTISAMPLE_FILTER_HINT,
    GL_EXTENSION_SGIS_GENERATE_MIPMAP,
    GL_EXTENSION_SGIS_TEXTURE_BORDER_CLAMP,
    GL_EXTENSION_SGIS_TEXTURE_EDGE_CLAMP,
    GL_EXTENSION_COUNT,
};

// What the GL implementation offers: its version, extensions and limits, read once the
// context is current.
class CGLExtensions {
public:
    // Reads everything through the loaded table and logs the version check and the missing
    // multitexturing.
    void init(const GLFunctions& gl, bool stencilBuffer);

    bool has(EGLExtension extension) const { return m_flags[extension]; }
    // Major x 100 + minor.
    uint16_t getVersion() const { return m_version; }
    uint16_t getShadingLanguageVersion() const { return m_shadingLanguageVersion; }
    bool hasStencilBuffer() const { return m_stencilBuffer; }
    bool hasMultitexture() const { return m_multitexture; }
    uint8_t getTextureUnits() const { return m_textureUnits; }
    uint8_t getMaxLights() const { return m_maxLights; }
    uint8_t getMaxAnisotropy() const { return m_maxAnisotropy; }
    uint8_t getMaxClipPlanes() const { return m_maxClipPlanes; }
    uint8_t getAuxBuffers() const { return m_auxBuffers; }
    const float* getAliasedPointSizeRange() const { return m_aliasedPointSizeRange; }
    // The widest and highest texture the implementation takes; 0 when it does not say.
    uint32_t getMaxTextureSize() const { return m_maxTextureSize; }

private:
    void readExtensionNames(const char* names);
    void readLimits(const GLFunctions& gl);
    void readShadingLanguageVersion(const GLFunctions& gl);

    bool m_stencilBuffer = false;
    bool m_multitexture = false;
    uint8_t m_textureUnits = 1;
    uint8_t m_maxLights = 1;
    uint8_t m_maxAnisotropy = 1;
    uint8_t m_maxClipPlanes = 0;
    uint8_t m_auxBuffers = 0;
    float m_aliasedPointSizeRange[2] = {1.0f, 1.0f};
    uint32_t m_maxTextureSize = 0;
    uint16_t m_version = 0;
    uint16_t m_shadingLanguageVersion = 0;
    bool m_flags[GL_EXTENSION_COUNT] = {};
};
