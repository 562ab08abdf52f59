#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/opengl/OpenGLDriverTexture.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

// The render states every material type shares, texture stages, and the assembly-program
// constants of the renderer services.

namespace {

void setMaterialColor(const GLFunctions& gl, GLenum which, CColor color) {
    const GLfloat values[4] = {color.getRed() / 255.0f, color.getGreen() / 255.0f,
                               color.getBlue() / 255.0f, color.getAlpha() / 255.0f};
    gl.Materialfv(GL_FRONT_AND_BACK, which, values);
}

void setEnabled(const GLFunctions& gl, GLenum capability, bool on) {
    if (on)
        gl.Enable(capability);
    else
        gl.Disable(capability);
}

GLenum colorMaterialMode(uint8_t colorMaterial) {
    switch (colorMaterial) {
    case 2:
        return GL_AMBIENT;
    case 3:
        return GL_EMISSION;
    case 4:
        return GL_SPECULAR;
    case 5:
        return GL_AMBIENT_AND_DIFFUSE;
    default:
        return GL_DIFFUSE;
    }
}

GLenum depthFunction(uint8_t depthTest) {
    switch (depthTest) {
    case 2:
        return GL_EQUAL;
    case 3:
        return GL_LESS;
    case 4:
        return GL_NOTEQUAL;
    case 5:
        return GL_GEQUAL;
    case 6:
        return GL_GREATER;
    case 7:
        return GL_ALWAYS;
    default:
        return GL_LEQUAL;
    }
}

IDriverTexture* layerTexture(const RenderMaterial& material, uint32_t layer) {
    const CImageTexture* texture = material.layers[layer].texture;
    return texture ? texture->getTexture() : nullptr;
}

// Four floats a register, from the first register on.
void setLocalParameters(const GLFunctions& gl, GLenum target, const float* data, int32_t first,
                        int32_t count) {
    if (!gl.ProgramLocalParameter4fvARB || !data)
        return;
    for (int32_t i = 0; i < count; ++i)
        gl.ProgramLocalParameter4fvARB(target, GLuint(first + i), data + 4 * i);
}

} // namespace

void COpenGLRenderDriver::setBaseRenderStates(const RenderMaterial& m, const RenderMaterial& l,
                                              bool reset) {
    const GLFunctions& gl = *m_gl;
    const uint8_t colorMaterial = m.colorMaterial;
    if (reset || colorMaterial != l.colorMaterial) {
        if (colorMaterial == 0) {
            gl.Disable(GL_COLOR_MATERIAL);
        } else {
            gl.ColorMaterial(GL_FRONT_AND_BACK, colorMaterialMode(colorMaterial));
            gl.Enable(GL_COLOR_MATERIAL);
        }
    }
    if (reset || !(m.ambientColor == l.ambientColor) || !(m.diffuseColor == l.diffuseColor) ||
        !(m.emissiveColor == l.emissiveColor) || colorMaterial != l.colorMaterial) {
        if (colorMaterial != 2 && colorMaterial != 5)
            setMaterialColor(gl, GL_AMBIENT, m.ambientColor);
        if (colorMaterial != 1 && colorMaterial != 5)
            setMaterialColor(gl, GL_DIFFUSE, m.diffuseColor);
        if (colorMaterial != 3)
            setMaterialColor(gl, GL_EMISSION, m.emissiveColor);
    }
    const bool separateSpecular = m_extensions.has(GL_EXTENSION_EXT_SEPARATE_SPECULAR_COLOR);
    if (reset || !(m.specularColor == l.specularColor) || m.shininess != l.shininess ||
        colorMaterial != l.colorMaterial) {
        gl.Materialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
        const bool specular = m.shininess != 0 && colorMaterial != 4;
        if (specular) {
            setMaterialColor(gl, GL_SPECULAR, m.specularColor);
        } else {
            const GLfloat black[4] = {0, 0, 0, 1};
            gl.Materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
        }
        if (separateSpecular)
            gl.LightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                           specular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
    }
    // Filters belong to the bound textures, not to the context: set on every application.
    const uint32_t filteredLayers = std::min<uint32_t>(
        m.layerCount, m_extensions.hasMultitexture() ? RenderMaterial::kMaxLayers : 1);
    for (uint32_t layer = 0; layer < filteredLayers; ++layer) {
        IDriverTexture* texture = layerTexture(m, layer);
        if (!texture || m_boundTextures[layer] != texture)
            continue;
        const RenderMaterialLayer& settings = m.layers[layer];
        selectTextureStage(layer);
        const bool linear = settings.bilinearFilter || settings.trilinearFilter;
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
        GLint minification = linear ? GL_LINEAR : GL_NEAREST;
        if (texture->hasMipLevels()) {
            minification = settings.trilinearFilter  ? GL_LINEAR_MIPMAP_LINEAR
                           : settings.bilinearFilter ? GL_LINEAR_MIPMAP_NEAREST
                                                     : GL_NEAREST_MIPMAP_NEAREST;
        }
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
        if (m_extensions.has(GL_EXTENSION_EXT_TEXTURE_FILTER_ANISOTROPIC)) {
            const uint8_t anisotropy =
                settings.anisotropy ? std::min(settings.anisotropy, m_extensions.getMaxAnisotropy())
                                    : uint8_t(1);
            gl.TexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, float(anisotropy));
        }
    }
    if (reset || m.wireframe != l.wireframe || m.pointCloud != l.pointCloud) {
        gl.PolygonMode(GL_FRONT_AND_BACK,
                       m.wireframe ? GL_LINE : (m.pointCloud ? GL_POINT : GL_FILL));
    }
    if (reset || m.smoothShading != l.smoothShading)
        gl.ShadeModel(m.smoothShading ? GL_SMOOTH : GL_FLAT);
    if (reset || m.lighting != l.lighting)
        setEnabled(gl, GL_LIGHTING, m.lighting);
    if (reset || m.depthTest != l.depthTest) {
        if (m.depthTest == 0) {
            gl.Disable(GL_DEPTH_TEST);
        } else {
            gl.Enable(GL_DEPTH_TEST);
            gl.DepthFunc(depthFunction(m.depthTest));
        }
    }
    if (reset || m.depthWrite != l.depthWrite)
        gl.DepthMask(m.depthWrite ? GL_TRUE : GL_FALSE);
    if (reset || m.backFaceCulling != l.backFaceCulling)
        setEnabled(gl, GL_CULL_FACE, m.backFaceCulling);
    if (reset || m.fog != l.fog)
        setEnabled(gl, GL_FOG, m.fog);
    if (reset || m.normalizeNormals != l.normalizeNormals)
        setEnabled(gl, GL_NORMALIZE, m.normalizeNormals);
    if (reset || m.colorWriteMask != l.colorWriteMask) {
        const uint8_t mask = m.colorWriteMask;
        gl.ColorMask((mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0, (mask & 1) != 0);
    }
    if (reset || m.thickness != l.thickness) {
        gl.PointSize(m.thickness);
        gl.LineWidth(m.thickness);
    }
    if (reset || m.antiAliasFlags != l.antiAliasFlags) {
        const uint8_t flags = m.antiAliasFlags;
        const uint8_t lastFlags = l.antiAliasFlags;
        if (m_extensions.has(GL_EXTENSION_ARB_MULTISAMPLE)) {
            if (flags & 16)
                gl.Enable(GL_SAMPLE_ALPHA_TO_COVERAGE_ARB);
            else if (lastFlags & 16)
                gl.Disable(GL_SAMPLE_ALPHA_TO_COVERAGE_ARB);
            if (m_antiAliasSamples > 1 && (flags & 3)) {
                gl.Enable(GL_MULTISAMPLE_ARB);
                if (m_extensions.has(GL_EXTENSION_NV_MULTISAMPLE_FILTER_HINT))
                    gl.Hint(GL_MULTISAMPLE_FILTER_HINT_NV, GL_NICEST);
            } else {
                gl.Disable(GL_MULTISAMPLE_ARB);
            }
        }
        if (m_antiAliasSamples > 1) {
            if (flags & 4)
                gl.Enable(GL_LINE_SMOOTH);
            else if (lastFlags & 4)
                gl.Disable(GL_LINE_SMOOTH);
            if (flags & 8)
                gl.Enable(GL_POINT_SMOOTH);
            else if (lastFlags & 8)
                gl.Disable(GL_POINT_SMOOTH);
        }
    }
    // Wrapping also belongs to the textures; only stages holding one of this material's.
    const uint32_t version = m_extensions.getVersion();
    const uint32_t wrappedStages =
        std::min<uint32_t>(std::min<uint32_t>(m.layerCount, RenderMaterial::kMaxLayers),
                           m_extensions.hasMultitexture() ? m_extensions.getTextureUnits() : 1);
    for (uint32_t stage = 0; stage < wrappedStages; ++stage) {
        if (!m_boundTextures[stage])
            continue;
        const bool edgeClamp =
            version >= 102 || m_extensions.has(GL_EXTENSION_SGIS_TEXTURE_EDGE_CLAMP);
        GLint wrap = GL_REPEAT;
        switch (m.layers[stage].wrapMode) {
        case 1:
        case 2:
            // Clamping samples the edge texels, as the other drivers do, not the border.
            wrap = edgeClamp ? GL_CLAMP_TO_EDGE : GL_CLAMP;
            break;
        case 3:
            wrap = version >= 103 || m_extensions.has(GL_EXTENSION_ARB_TEXTURE_BORDER_CLAMP) ||
                           m_extensions.has(GL_EXTENSION_SGIS_TEXTURE_BORDER_CLAMP)
                       ? GL_CLAMP_TO_BORDER
                       : GL_CLAMP;
            break;
        case 4:
            wrap = version >= 104 || m_extensions.has(GL_EXTENSION_ARB_TEXTURE_MIRRORED_REPEAT)
                       ? GL_MIRRORED_REPEAT
                       : GL_REPEAT;
            break;
        default:
            break;
        }
        selectTextureStage(stage);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    }
    selectTextureStage(0);
}

void COpenGLRenderDriver::selectTextureStage(uint32_t stage) const {
    if (m_extensions.hasMultitexture())
        m_gl->ActiveTextureARB(GL_TEXTURE0_ARB + stage);
}

bool COpenGLRenderDriver::bindTexture(uint32_t stage, IDriverTexture* texture) {
    if (stage >= m_extensions.getTextureUnits())
        return false;
    // Callers set the stage's parameters next, also when the texture was bound already.
    selectTextureStage(stage);
    if (m_boundTextures[stage] == texture)
        return true;
    if (texture && texture->getDriverKind() != DRIVER_KIND_OPENGL) {
        m_boundTextures[stage] = nullptr;
        m_gl->Disable(GL_TEXTURE_2D);
        CLogger::instance()->logChars(
            "Fatal Error: Tried to set a texture not owned by this driver.", CLogger::LevelError);
        return false;
    }
    m_boundTextures[stage] = texture;
    if (!texture) {
        m_gl->Disable(GL_TEXTURE_2D);
        return true;
    }
    m_gl->Enable(GL_TEXTURE_2D);
    m_gl->BindTexture(GL_TEXTURE_2D, static_cast<COpenGLDriverTexture*>(texture)->getGLName());
    return true;
}

bool COpenGLRenderDriver::unbindTexturesFrom(uint32_t firstStage) {
    for (uint32_t stage = firstStage; stage < m_extensions.getTextureUnits(); ++stage) {
        if (!m_boundTextures[stage])
            continue;
        selectTextureStage(stage);
        m_boundTextures[stage] = nullptr;
        m_gl->Disable(GL_TEXTURE_2D);
    }
    return true;
}

void COpenGLRenderDriver::bindMaterialLayers(const RenderMaterial& material) {
    for (uint32_t stage = 0; stage < RenderMaterial::kMaxLayers; ++stage)
        bindTexture(stage, stage < material.layerCount ? layerTexture(material, stage) : nullptr);
}

void COpenGLRenderDriver::setVertexShaderConstants(const float* data, int32_t firstRegister,
                                                   int32_t registerCount) {
    setLocalParameters(*m_gl, GL_VERTEX_PROGRAM_ARB, data, firstRegister, registerCount);
}

void COpenGLRenderDriver::setPixelShaderConstants(const float* data, int32_t firstRegister,
                                                  int32_t registerCount) {
    setLocalParameters(*m_gl, GL_FRAGMENT_PROGRAM_ARB, data, firstRegister, registerCount);
}

bool COpenGLRenderDriver::setVertexShaderConstant(const char* name, const float* data,
                                                  int32_t count) {
    return setPixelShaderConstant(name, data, count);
}

bool COpenGLRenderDriver::setPixelShaderConstant(const char*, const float*, int32_t) {
    CLogger::instance()->logChars("Error: Please call services->setPixelShaderConstant(), not "
                                  "VideoDriver->setPixelShaderConstant().",
                                  CLogger::LevelInformation);
    return false;
}
