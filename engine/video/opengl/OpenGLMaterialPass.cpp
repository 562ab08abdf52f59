#include "engine/video/opengl/OpenGLMaterialPass.h"

#include <cmath>

#include "engine/platform/host/GLFunctions.h"
#include "engine/video/IRendererServices.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/RenderMaterial.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

const uint32_t COpenGLMaterialPass::kTypes[kTypeCount] = {
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

namespace {

// One texture stage's combiner: RGB and alpha each as an operation on up to two sources.
struct Combiner {
    GLint rgb;
    GLint rgbSource0;
    GLint rgbSource1;
    GLint alpha;
    GLint alphaSource0;
    GLint alphaSource1;
};

void setCombiner(const GLFunctions& gl, const Combiner& c) {
    gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, c.rgb);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, c.rgbSource0);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, c.rgbSource1);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, c.alpha);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB, c.alphaSource0);
    gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA_ARB, c.alphaSource1);
}

void setEnvironment(const GLFunctions& gl, GLint mode) {
    gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
}

void blend(const GLFunctions& gl, GLenum source, GLenum destination) {
    gl.BlendFunc(source, destination);
    gl.Enable(GL_BLEND);
}

// The alpha test passes texels whose alpha reaches floor(reference x 255).
void alphaTest(const GLFunctions& gl, float reference) {
    gl.AlphaFunc(GL_GEQUAL, std::floor(reference * 255.0f) / 255.0f);
    gl.Enable(GL_ALPHA_TEST);
}

GLenum blendFactor(uint32_t code) {
    switch (code) {
    case 1:
        return GL_ONE;
    case 2:
        return GL_DST_COLOR;
    case 3:
        return GL_ONE_MINUS_DST_COLOR;
    case 4:
        return GL_SRC_COLOR;
    case 5:
        return GL_ONE_MINUS_SRC_COLOR;
    case 6:
        return GL_SRC_ALPHA;
    case 7:
        return GL_ONE_MINUS_SRC_ALPHA;
    case 8:
        return GL_DST_ALPHA;
    case 9:
        return GL_ONE_MINUS_DST_ALPHA;
    case 10:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ZERO;
    }
}

bool usesTwoLayers(uint32_t type) {
    return type == MATERIAL_SOLID_2LAYER || type == MATERIAL_DETAIL_MAP ||
           type == MATERIAL_REFLECTION_2LAYER || type == MATERIAL_TRANS_REFLECTION_2LAYER;
}

IDriverTexture* layerTexture(const RenderMaterial& material, uint32_t layer) {
    if (layer >= material.layerCount || layer >= RenderMaterial::kMaxLayers)
        return nullptr;
    const CImageTexture* texture = material.layers[layer].texture;
    return texture ? texture->getTexture() : nullptr;
}

constexpr Combiner kTextureTimesPrevious{GL_MODULATE, GL_TEXTURE, GL_PREVIOUS_ARB,
                                         GL_REPLACE,  GL_TEXTURE, GL_PREVIOUS_ARB};

} // namespace

void COpenGLMaterialPass::bindLayers(const RenderMaterial& material) {
    if (usesTwoLayers(m_type)) {
        m_driver->unbindTexturesFrom(2);
        m_driver->bindTexture(1, layerTexture(material, 1));
    } else {
        m_driver->unbindTexturesFrom(1);
    }
    m_driver->bindTexture(0, layerTexture(material, 0));
}

void COpenGLMaterialPass::applyStates(const RenderMaterial& material, const RenderMaterial& last,
                                      bool resetAllStates, IRendererServices* services) {
    bindLayers(material);
    if (materialWritesDepth(m_type)) {
        services->setBaseRenderStates(material, last, resetAllStates);
    } else {
        m_driver->disableCurrentDepthWrite();
        RenderMaterial withoutDepthWrite = material;
        withoutDepthWrite.depthWrite = false;
        services->setBaseRenderStates(withoutDepthWrite, last, resetAllStates);
    }
    const bool changed = resetAllStates || material.type != last.type;
    const bool parameterChanged = material.typeParameter != last.typeParameter;
    if (m_type == MATERIAL_ONETEXTURE_BLEND)
        applyOneTextureBlend(material);
    else
        applyOwnStates(material, changed || (m_type == MATERIAL_TRANS_ALPHACH && parameterChanged));
}

void COpenGLMaterialPass::applyOwnStates(const RenderMaterial& material, bool changed) {
    if (!changed)
        return;
    const GLFunctions& gl = m_driver->gl();
    const bool multitexture = m_driver->hasFeature(FEATURE_MULTITEXTURE);
    switch (m_type) {
    case MATERIAL_SOLID:
        setEnvironment(gl, GL_MODULATE);
        break;
    case MATERIAL_SOLID_2LAYER:
        // The second layer over the first by the vertex alpha; the first unlit by colour.
        if (multitexture) {
            m_driver->selectTextureStage(1);
            setCombiner(gl, {GL_INTERPOLATE_ARB, GL_TEXTURE, GL_PREVIOUS_ARB, GL_REPLACE,
                             GL_PREVIOUS_ARB, GL_PREVIOUS_ARB});
            gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_ARB, GL_PRIMARY_COLOR_ARB);
            gl.TexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_ARB, GL_SRC_ALPHA);
            m_driver->selectTextureStage(0);
        }
        setCombiner(gl, {GL_REPLACE, GL_TEXTURE, GL_TEXTURE, GL_REPLACE, GL_PRIMARY_COLOR_ARB,
                         GL_PRIMARY_COLOR_ARB});
        break;
    case MATERIAL_DETAIL_MAP:
        setCombiner(gl, kTextureTimesPrevious);
        if (multitexture) {
            m_driver->selectTextureStage(1);
            setCombiner(gl, {GL_ADD_SIGNED_ARB, GL_PREVIOUS_ARB, GL_TEXTURE, GL_REPLACE,
                             GL_PREVIOUS_ARB, GL_PREVIOUS_ARB});
            m_driver->selectTextureStage(0);
        }
        break;
    case MATERIAL_SPHERE_MAP:
        setEnvironment(gl, GL_MODULATE);
        generateCoordinates(true);
        break;
    case MATERIAL_REFLECTION_2LAYER:
        applyReflection();
        break;
    case MATERIAL_TRANS_ADD:
        blend(gl, GL_ONE, GL_ONE_MINUS_SRC_COLOR);
        setEnvironment(gl, GL_MODULATE);
        break;
    case MATERIAL_TRANS_ALPHACH:
        setCombiner(gl, kTextureTimesPrevious);
        blend(gl, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        alphaTest(gl, material.typeParameter != 0 ? material.typeParameter : 0.5f);
        break;
    case MATERIAL_TRANS_ALPHACH_REF:
        setCombiner(gl, kTextureTimesPrevious);
        alphaTest(gl, 0.5f);
        break;
    case MATERIAL_TRANS_VERTEX_ALPHA:
        setCombiner(gl, {GL_MODULATE, GL_PRIMARY_COLOR_ARB, GL_TEXTURE, GL_REPLACE,
                         GL_PRIMARY_COLOR_ARB, GL_PRIMARY_COLOR_ARB});
        blend(gl, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case MATERIAL_TRANS_REFLECTION_2LAYER:
        applyReflection();
        blend(gl, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD:
        setCombiner(gl, {m_type == MATERIAL_TRANS_ALPHACH_VERTEXALPHA ? GL_MODULATE : GL_ADD,
                         GL_TEXTURE, GL_PRIMARY_COLOR_ARB, GL_MODULATE, GL_TEXTURE,
                         GL_PRIMARY_COLOR_ARB});
        blend(gl, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    default:
        break;
    }
}

// The first layer lit by the vertex colour, the second mapped on the sphere over it.
void COpenGLMaterialPass::applyReflection() {
    const GLFunctions& gl = m_driver->gl();
    if (m_driver->hasFeature(FEATURE_MULTITEXTURE)) {
        setCombiner(gl, {GL_MODULATE, GL_TEXTURE, GL_PRIMARY_COLOR_ARB, GL_REPLACE,
                         GL_PRIMARY_COLOR_ARB, GL_PRIMARY_COLOR_ARB});
        m_driver->selectTextureStage(1);
        setCombiner(gl, {GL_MODULATE, GL_PREVIOUS_ARB, GL_TEXTURE, GL_REPLACE, GL_PREVIOUS_ARB,
                         GL_PREVIOUS_ARB});
    }
    generateCoordinates(true);
}

// The sphere-mapped stage's coordinates: the camera-space normal for the sphere map, the
// camera-space reflection vector for the reflections, as Direct3D's fixed function makes them;
// the driver's texture matrix of that stage takes them onto the texture.
void COpenGLMaterialPass::generateCoordinates(bool on) {
    const GLFunctions& gl = m_driver->gl();
    m_driver->selectTextureStage(uint32_t(m_driver->sphereMappedStage(m_type)));
    if (on) {
        const GLint mode =
            m_type == MATERIAL_SPHERE_MAP ? GL_NORMAL_MAP_ARB : GL_REFLECTION_MAP_ARB;
        gl.TexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
        gl.TexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
        gl.Enable(GL_TEXTURE_GEN_S);
        gl.Enable(GL_TEXTURE_GEN_T);
    } else {
        gl.Disable(GL_TEXTURE_GEN_S);
        gl.Disable(GL_TEXTURE_GEN_T);
    }
    m_driver->selectTextureStage(0);
}

// The first type parameter packs the blend: destination factor in its lowest byte, source
// factor in the next, the colour scale above.
void COpenGLMaterialPass::applyOneTextureBlend(const RenderMaterial& material) {
    const GLFunctions& gl = m_driver->gl();
    const uint32_t packed = uint32_t(material.typeParameter);
    const uint32_t source = (packed >> 8) & 0xFF;
    const uint32_t destination = packed & 0xFF;
    const uint32_t modulation = (packed >> 16) & 0xFF;
    const bool alphaFactor =
        (source >= 6 && source <= 10) || (destination >= 6 && destination <= 10);
    setCombiner(gl, {GL_MODULATE, GL_TEXTURE, GL_PREVIOUS_ARB,
                     alphaFactor ? GL_REPLACE : GL_MODULATE, GL_TEXTURE, GL_PREVIOUS_ARB});
    gl.TexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB,
               modulation == 2 || modulation == 4 ? float(modulation) : 1.0f);
    gl.Disable(GL_ALPHA_TEST);
    // Source colour over nothing is the source itself.
    if (source == 4 && destination == 0)
        gl.Disable(GL_BLEND);
    else
        blend(gl, blendFactor(source), blendFactor(destination));
}

// The stage-0 states are taken back on stage 0, whichever stage the driver used last.
void COpenGLMaterialPass::restoreStates() {
    const GLFunctions& gl = m_driver->gl();
    m_driver->selectTextureStage(0);
    switch (m_type) {
    case MATERIAL_SPHERE_MAP:
        generateCoordinates(false);
        break;
    case MATERIAL_REFLECTION_2LAYER:
    case MATERIAL_TRANS_REFLECTION_2LAYER:
        generateCoordinates(false);
        if (m_type == MATERIAL_TRANS_REFLECTION_2LAYER)
            gl.Disable(GL_BLEND);
        break;
    case MATERIAL_TRANS_ALPHACH:
        gl.Disable(GL_ALPHA_TEST);
        gl.Disable(GL_BLEND);
        break;
    case MATERIAL_TRANS_ALPHACH_REF:
        gl.Disable(GL_ALPHA_TEST);
        break;
    case MATERIAL_TRANS_VERTEX_ALPHA:
        setCombiner(gl, {GL_MODULATE, GL_TEXTURE, GL_PREVIOUS_ARB, GL_MODULATE, GL_TEXTURE,
                         GL_PREVIOUS_ARB});
        gl.Disable(GL_BLEND);
        break;
    case MATERIAL_ONETEXTURE_BLEND:
        gl.TexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 1.0f);
        gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_PREVIOUS_ARB);
        gl.Disable(GL_BLEND);
        gl.Disable(GL_ALPHA_TEST);
        break;
    case MATERIAL_TRANS_ADD:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA:
    case MATERIAL_TRANS_ALPHACH_VERTEXALPHA_ADD:
        gl.Disable(GL_BLEND);
        break;
    default:
        break;
    }
}

bool COpenGLMaterialPass::usesTransparency() const {
    return materialUsesTransparency(m_type);
}
