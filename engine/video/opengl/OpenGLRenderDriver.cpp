#include "engine/video/opengl/OpenGLRenderDriver.h"

#include <algorithm>
#include <cstdio>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/opengl/OpenGLAsmShaderPass.h"
#include "engine/video/opengl/OpenGLDriverTexture.h"
#include "engine/video/opengl/OpenGLFboTexture.h"
#include "engine/video/opengl/OpenGLGlslPass.h"
#include "engine/video/opengl/OpenGLMaterialPass.h"

namespace {

void logLine(const char* text, CLogger::Level level) {
    CLogger::instance()->logChars(text, level);
}

const char* glText(const GLFunctions& gl, GLenum name) {
    return reinterpret_cast<const char*>(gl.GetString(name));
}

// The matrix as GL takes it for a 2D texture transform: the upper-left 2 x 2 block and the
// translation in the third row.
void loadTextureTransform2D(const GLFunctions& gl, const CMatrix4& matrix) {
    if (matrix.isIdentity()) {
        gl.LoadIdentity();
        return;
    }
    GLfloat elements[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    elements[0] = matrix[0];
    elements[1] = matrix[1];
    elements[4] = matrix[4];
    elements[5] = matrix[5];
    elements[12] = matrix[8];
    elements[13] = matrix[9];
    gl.LoadMatrixf(elements);
}

} // namespace

CRefPointer<COpenGLRenderDriver> COpenGLRenderDriver::create(const CreationParameters& parameters,
                                                             IVirtualFileSystem* fileSystem,
                                                             CRefPointer<CTimer> timer,
                                                             IHostGL& host) {
    CRefPointer<COpenGLRenderDriver> driver(
        new COpenGLRenderDriver(parameters, fileSystem, std::move(timer), host));
    if (!driver->initContext(parameters))
        return nullptr;
    return driver;
}

COpenGLRenderDriver::COpenGLRenderDriver(const CreationParameters& parameters,
                                         IVirtualFileSystem* fileSystem, CRefPointer<CTimer> timer,
                                         IHostGL& host)
    : CNullRenderDriver(parameters, fileSystem, std::move(timer)), m_host(host),
      m_gl(new GLFunctions()), m_antiAliasSamples(parameters.antiAlias),
      m_window(parameters.windowHandle) {}

// Everything that calls GL goes while the context still exists.
COpenGLRenderDriver::~COpenGLRenderDriver() {
    m_lights.clear();
    m_lightEntries.clear();
    m_materialPasses.clear();
    m_currentRenderTarget.reset();
    for (COpenGLDriverTexture* texture : m_textures)
        texture->onDriverGone();
    m_textures.clear();
    if (m_context == kNoHostGLContext)
        return;
    if (!m_host.makeCurrent(m_window, kNoHostGLContext))
        logLine("Release of dc and rc failed.", CLogger::LevelWarning);
    if (!m_host.deleteContext(m_context))
        logLine("Release of rendering context failed.", CLogger::LevelWarning);
}

bool COpenGLRenderDriver::initContext(const CreationParameters& parameters) {
    HostGLPixelFormat descriptor;
    descriptor.colorBits = int32_t(parameters.bits);
    descriptor.depthBits = 24;
    descriptor.stencilBits = parameters.stencilBuffer ? 1 : 0;
    int32_t format = 0;
    if (!probePixelFormat(parameters, descriptor, format, m_antiAliasSamples))
        return false;
    if (!m_host.setPixelFormat(m_window, format)) {
        logLine("Cannot set the pixel format.", CLogger::LevelError);
        return false;
    }
    m_context = m_host.createContext(m_window);
    if (m_context == kNoHostGLContext) {
        logLine("Cannot create a GL rendering context.", CLogger::LevelError);
        return false;
    }
    if (!m_host.makeCurrent(m_window, m_context)) {
        logLine("Cannot activate GL rendering context", CLogger::LevelError);
        m_host.deleteContext(m_context);
        m_context = kNoHostGLContext;
        return false;
    }
    HostGLPixelFormat described;
    m_host.describePixelFormat(format, described);
    if (described.alphaBits > 0)
        m_backBufferFormat = described.redBits == 8 ? COLOR_FORMAT_A8R8G8B8 : COLOR_FORMAT_A1R5G5B5;
    else
        m_backBufferFormat = described.redBits == 8 ? COLOR_FORMAT_R8G8B8 : COLOR_FORMAT_R5G6B5;
    m_doubleBuffered = described.doubleBuffer;
    const char* missing = nullptr;
    if (!m_gl->load(m_host, &missing)) {
        CLogger::instance()->logNarrow(CString("Missing OpenGL function: ").append(missing),
                                       CLogger::LevelError);
        return false;
    }
    initDriver(m_screenSize, described.stencilBits > 0);
    // Offscreen drivers and virtual displays have no retrace to wait for; that is no error.
    m_host.setSwapInterval(parameters.verticalSync ? 1 : 0);
    m_platformData[0] = m_window;
    m_platformData[1] = m_context;
    m_platformData[2] = m_window;
    return true;
}

bool COpenGLRenderDriver::probePixelFormat(const CreationParameters& parameters,
                                           const HostGLPixelFormat& descriptor, int32_t& format,
                                           uint8_t& samples) {
    if (samples == 0) {
        format = chooseWithFallBacks(parameters, descriptor,
                                     "Cannot create a GL device context: No suitable format.");
        return format != 0;
    }
    format = chooseWithFallBacks(
        parameters, descriptor,
        "Cannot create a GL device context: No suitable format for temporary window.");
    if (format == 0)
        return false;
    samples = std::min<uint8_t>(samples, 16);
    for (int32_t count = samples; count > 1; --count) {
        HostGLPixelFormat wanted;
        wanted.colorBits = parameters.bits == 32 ? 24 : 15;
        wanted.alphaBits = parameters.bits == 32 ? 8 : 1;
        wanted.depthBits = parameters.depthBits;
        wanted.stencilBits = parameters.stencilBuffer ? 1 : 0;
        wanted.samples = count;
        if (const int32_t found = m_host.choosePixelFormat(wanted)) {
            format = found;
            samples = uint8_t(count);
            break;
        }
    }
    return true;
}

int32_t COpenGLRenderDriver::chooseWithFallBacks(const CreationParameters& parameters,
                                                 HostGLPixelFormat descriptor,
                                                 const char* finalMessage) {
    if (const int32_t format = m_host.choosePixelFormat(descriptor))
        return format;
    if (descriptor.stencilBits > 0) {
        logLine("Cannot create a GL device with stencil buffer, disabling stencil shadows.",
                CLogger::LevelWarning);
        descriptor.stencilBits = 0;
        if (const int32_t format = m_host.choosePixelFormat(descriptor))
            return format;
    }
    descriptor.depthBits = 24;
    if (const int32_t format = m_host.choosePixelFormat(descriptor))
        return format;
    if (parameters.bits != 16) {
        descriptor.depthBits = 16;
        if (const int32_t format = m_host.choosePixelFormat(descriptor))
            return format;
    }
    logLine(finalMessage, CLogger::LevelError);
    return 0;
}

void COpenGLRenderDriver::readDriverName() {
    const char* version = glText(*m_gl, GL_VERSION);
    m_name = CStringW(u"OpenGL ");
    m_name.append(version ? version : "");
    // Vendor words after the version number go.
    for (uint32_t i = 7; i < m_name.length(); ++i) {
        if (m_name[i] == u' ') {
            m_name = m_name.subString(0, i);
            break;
        }
    }
    CLogger::instance()->log(CStringW(u"Using renderer: ") + m_name, CLogger::LevelInformation);
    const char* renderer = glText(*m_gl, GL_RENDERER);
    const char* vendor = glText(*m_gl, GL_VENDOR);
    if (renderer && vendor) {
        CLogger::instance()->logNarrow(CString(renderer).append(vendor), CLogger::LevelInformation);
        m_vendor = vendor;
    }
}

void COpenGLRenderDriver::initDriver(CPixelSize size, bool stencilBuffer) {
    const GLFunctions& gl = *m_gl;
    readDriverName();
    std::fill(std::begin(m_boundTextures), std::end(m_boundTextures), nullptr);
    m_extensions.init(gl, stencilBuffer);
    if (hasFeature(FEATURE_GLSL)) {
        char line[48];
        const uint32_t version = m_extensions.getShadingLanguageVersion();
        std::snprintf(line, sizeof(line), "GLSL version: %u.%u", version / 100, version % 100);
        logLine(line, CLogger::LevelInformation);
    } else {
        logLine("GLSL not available.", CLogger::LevelInformation);
    }
    gl.ReadBuffer(m_doubleBuffered ? GL_BACK : GL_FRONT);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Reads of rows whose length is not a multiple of four must not be padded.
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    setViewport(0, 0, size);
    setAmbientLight(CColorf(0, 0, 0, 0));
    if (m_extensions.has(GL_EXTENSION_EXT_SEPARATE_SPECULAR_COLOR))
        gl.LightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    gl.LightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    gl.ClearDepth(1.0);
    gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    gl.DepthFunc(GL_LEQUAL);
    gl.FrontFace(GL_CW);
    if (gl.ProvokingVertex)
        gl.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    else if (gl.ProvokingVertexEXT)
        gl.ProvokingVertexEXT(GL_FIRST_VERTEX_CONVENTION_EXT);
    if (m_antiAliasSamples > 1) {
        if (m_extensions.has(GL_EXTENSION_ARB_MULTISAMPLE))
            gl.Enable(GL_MULTISAMPLE_ARB);
        gl.Enable(GL_LINE_SMOOTH);
    }
    gl.Hint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    gl.Hint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
    for (uint32_t i = 0; i < m_extensions.getMaxClipPlanes(); ++i)
        m_clipPlanes.append(ClipPlaneEntry{CClipPlane{0, 1, 0, 0}, false});
    for (uint32_t slot = 0; slot < TRANSFORM_COUNT; ++slot)
        setMatrix(slot, CMatrix4::identity());
    createMaterialPasses();
    m_resetAllStates = true;
    setRenderStates3D();
    setFogParameters(m_fog.color, m_fog.linear, m_fog.start, m_fog.end, m_fog.density,
                     m_fog.perPixel, m_fog.range);
    // v becomes 1 - v: render targets hold their rows bottom-up.
    m_textureFlip.set(5, -1.0f);
    m_textureFlip.set(9, 1.0f);
}

void COpenGLRenderDriver::createMaterialPasses() {
    for (const uint32_t type : COpenGLMaterialPass::kTypes) {
        CRefPointer<IMaterialPass> pass(new COpenGLMaterialPass(this, type));
        setMaterialPass(int32_t(type), pass.get(), nullptr);
    }
}

bool COpenGLRenderDriver::hasFeature(uint32_t feature) const {
    if (feature >= FEATURE_COUNT || !m_featureEnabled[feature])
        return false;
    switch (feature) {
    case FEATURE_RENDER_TO_TEXTURE:
    case FEATURE_BILINEAR_FILTER:
    case FEATURE_MIP_MAPS:
    case FEATURE_NON_SQUARE_TEXTURES:
    case FEATURE_COLOR_WRITE_MASK:
        return true;
    case FEATURE_MULTITEXTURE:
        return m_extensions.hasMultitexture();
    case FEATURE_AUTO_MIP_MAPS:
        return m_extensions.has(GL_EXTENSION_SGIS_GENERATE_MIPMAP);
    case FEATURE_STENCIL_BUFFER:
        return m_extensions.hasStencilBuffer();
    case FEATURE_ASM_VERTEX_PROGRAMS:
        return m_extensions.has(GL_EXTENSION_ARB_VERTEX_PROGRAM);
    case FEATURE_ASM_FRAGMENT_PROGRAMS:
        return m_extensions.has(GL_EXTENSION_ARB_FRAGMENT_PROGRAM);
    case FEATURE_GLSL:
        return m_extensions.has(GL_EXTENSION_ARB_SHADING_LANGUAGE_100) ||
               m_extensions.getVersion() >= 200;
    case FEATURE_NON_POWER_OF_TWO_TEXTURES:
        return m_extensions.has(GL_EXTENSION_ARB_TEXTURE_NON_POWER_OF_TWO);
    case FEATURE_FRAME_BUFFER_OBJECTS:
        return m_extensions.has(GL_EXTENSION_EXT_FRAMEBUFFER_OBJECT);
    case FEATURE_VERTEX_BUFFER_OBJECTS:
        return m_extensions.has(GL_EXTENSION_ARB_VERTEX_BUFFER_OBJECT);
    case FEATURE_MULTISAMPLING:
        return m_extensions.has(GL_EXTENSION_ARB_MULTISAMPLE);
    default:
        return false;
    }
}

bool COpenGLRenderDriver::startFrame(bool clearBackBuffer, bool clearDepthBuffer, CColor clearColor,
                                     void* presentationWindow, const CPixelRect* sourceRect) {
    CNullRenderDriver::startFrame(clearBackBuffer, clearDepthBuffer, clearColor, presentationWindow,
                                  sourceRect);
    clear(clearBackBuffer, clearDepthBuffer, false, clearColor);
    return true;
}

void COpenGLRenderDriver::clear(bool backBuffer, bool depthBuffer, bool stencilBuffer,
                                CColor color) {
    GLbitfield mask = 0;
    if (backBuffer) {
        m_gl->ClearColor(color.getRed() / 255.0f, color.getGreen() / 255.0f,
                         color.getBlue() / 255.0f, color.getAlpha() / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depthBuffer) {
        m_gl->DepthMask(GL_TRUE);
        m_lastMaterial.depthWrite = true;
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (stencilBuffer)
        mask |= GL_STENCIL_BUFFER_BIT;
    if (mask)
        m_gl->Clear(mask);
}

bool COpenGLRenderDriver::presentFrame() {
    CNullRenderDriver::presentFrame();
    m_gl->Flush();
    return m_host.swapBuffers(m_window);
}

void COpenGLRenderDriver::clearDepthBuffer() {
    clear(false, true, false, CColor());
}

// 3D and batch 2D drawing start from no blending and send every state of the material again.
void COpenGLRenderDriver::enterMaterialMode(uint32_t mode) {
    const GLFunctions& gl = *m_gl;
    if (m_extensions.has(GL_EXTENSION_ARB_TEXTURE_ENV_COMBINE))
        gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GL_MODULATE);
    gl.Disable(GL_ALPHA_TEST);
    gl.Disable(GL_BLEND);
    gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
    m_renderMode = mode;
    m_resetAllStates = true;
}

bool COpenGLRenderDriver::setRenderStates3D() {
    if (m_renderMode != RENDER_MODE_3D) {
        enterMaterialMode(RENDER_MODE_3D);
        loadModelView();
        loadProjection();
    }
    applyCurrentMaterial();
    return true;
}

bool COpenGLRenderDriver::setRenderStates2D() {
    if (m_renderMode != RENDER_MODE_2D) {
        enterMaterialMode(RENDER_MODE_2D);
        m_transformChanged = true;
    }
    if (m_transformChanged) {
        loadOrthoProjection();
        loadModelView();
        for (uint32_t stage = 0; stage < m_extensions.getTextureUnits(); ++stage)
            loadTextureMatrix(stage);
        m_transformChanged = false;
    }
    applyCurrentMaterial();
    return true;
}

bool COpenGLRenderDriver::applyCurrentMaterial() {
    const uint32_t type = m_currentMaterial.type;
    if (m_resetAllStates || m_currentMaterial.differsFrom(m_lastMaterial)) {
        if (m_lastMaterial.type != type) {
            if (IMaterialPass* last = getMaterialPass(m_lastMaterial.type))
                last->restoreStates();
        }
        if (IMaterialPass* pass = getMaterialPass(type))
            pass->applyStates(m_currentMaterial, m_lastMaterial, m_resetAllStates, this);
        m_lastMaterial = m_currentMaterial;
        m_resetAllStates = false;
        // Render-target textures are sampled upside down; their stages need the flip.
        for (uint32_t stage = 0; stage < m_extensions.getTextureUnits(); ++stage)
            loadTextureMatrix(stage);
    }
    IMaterialPass* pass = getMaterialPass(type);
    return pass ? pass->beforeDraw(this, 1) : true;
}

// The pass of the material leaves its states behind, and direct drawing starts from the
// states of a plain material.
void COpenGLRenderDriver::leaveMaterialMode() {
    if (m_renderMode != RENDER_MODE_2D && m_renderMode != RENDER_MODE_3D)
        return;
    if (IMaterialPass* pass = getMaterialPass(m_currentMaterial.type))
        pass->restoreStates();
    RenderMaterial plain;
    plain.depthTest = 0;
    plain.lighting = false;
    setBaseRenderStates(plain, m_lastMaterial, true);
    m_lastMaterial = plain;
}

void COpenGLRenderDriver::loadOrthoProjection() {
    const CPixelSize size = getRenderTargetSize();
    GLfloat projection[16] = {};
    projection[0] = 2.0f / float(std::max(size.width, 1u));
    projection[5] = -2.0f / float(std::max(size.height, 1u));
    projection[10] = -1.0f / 10000.0f;
    projection[12] = -1.0f;
    projection[13] = 1.0f;
    projection[15] = 1.0f;
    m_gl->MatrixMode(GL_PROJECTION);
    m_gl->LoadMatrixf(projection);
}

// The projection slot with its 13th element negated, moved half a pixel right and down: the
// centre of the view lands on a pixel's centre, where the Direct3D drivers put it, not on the
// corner between four. A little less than half down, so that an edge through a row's centre
// covers it when it is a top edge and not when it is a bottom one, Direct3D's rule for such
// ties, although GL's rows count upwards.
void COpenGLRenderDriver::loadProjection() {
    constexpr float kTieNudge = 1.0f / 256.0f;
    CMatrix4 projection = getMatrix(TRANSFORM_PROJECTION);
    projection.set(12, -projection[12]);
    CMatrix4 halfPixel;
    halfPixel.set(12, 1.0f / float(std::max(m_viewportSize.width, 1u)));
    halfPixel.set(13, -(1.0f - 2.0f * kTieNudge) / float(std::max(m_viewportSize.height, 1u)));
    m_gl->MatrixMode(GL_PROJECTION);
    m_gl->LoadMatrixf((projection * halfPixel).pointer());
}

// The 3D projection's half pixel follows the viewport's size.
void COpenGLRenderDriver::setViewport(int32_t x, int32_t y, CPixelSize size) {
    m_gl->Viewport(x, y, GLsizei(size.width), GLsizei(size.height));
    m_viewportSize = size;
    if (m_renderMode == RENDER_MODE_3D)
        loadProjection();
}

void COpenGLRenderDriver::loadModelView() {
    m_gl->MatrixMode(GL_MODELVIEW);
    if (m_renderMode == RENDER_MODE_3D) {
        const CMatrix4 modelView = getMatrix(TRANSFORM_WORLD) * getMatrix(TRANSFORM_VIEW);
        m_gl->LoadMatrixf(modelView.pointer());
    } else {
        m_gl->LoadMatrixf(getMatrix(TRANSFORM_WORLD).pointer());
    }
}

bool COpenGLRenderDriver::isRenderTargetLayer(uint32_t stage) const {
    if (stage >= m_currentMaterial.layerCount || stage >= RenderMaterial::kMaxLayers)
        return false;
    const CImageTexture* texture = m_currentMaterial.layers[stage].texture;
    return texture && texture->getTexture() && texture->getTexture()->isRenderTarget();
}

int32_t COpenGLRenderDriver::sphereMappedStage(uint32_t materialType) const {
    switch (materialType) {
    case MATERIAL_SPHERE_MAP:
        return 0;
    case MATERIAL_REFLECTION_2LAYER:
    case MATERIAL_TRANS_REFLECTION_2LAYER:
        return m_extensions.hasMultitexture() ? 1 : 0;
    default:
        return -1;
    }
}

// 3D draws use the stage's matrix, 2D batch draws none. A sphere-mapped stage takes its
// generated camera-space x and y from -1..1 onto 0..1, v downwards, in either mode, as the
// Direct3D drivers do. Render targets hold their rows bottom-up: they are flipped on top, never
// into the slot.
void COpenGLRenderDriver::loadTextureMatrix(uint32_t stage) {
    const bool renderTarget = isRenderTargetLayer(stage);
    selectTextureStage(stage);
    m_gl->MatrixMode(GL_TEXTURE);
    if (sphereMappedStage(m_currentMaterial.type) == int32_t(stage)) {
        CMatrix4 sphere = sphereMapMatrix();
        if (renderTarget)
            sphere.set(5, 0.5f);
        m_gl->LoadMatrixf(sphere.pointer());
        return;
    }
    CMatrix4 matrix = m_renderMode == RENDER_MODE_3D ? getMatrix(TRANSFORM_TEXTURE_0 + stage)
                                                     : CMatrix4::identity();
    if (renderTarget)
        matrix = matrix * m_textureFlip;
    loadTextureTransform2D(*m_gl, matrix);
}

void COpenGLRenderDriver::setMatrix(uint32_t slot, const CMatrix4& matrix) {
    if (slot >= TRANSFORM_COUNT)
        return;
    m_transforms[slot] = matrix;
    m_transformChanged = true;
    switch (slot) {
    case TRANSFORM_VIEW:
    case TRANSFORM_WORLD:
        loadModelView();
        reloadClipPlanes();
        break;
    case TRANSFORM_PROJECTION:
        loadProjection();
        break;
    default:
        if (slot - TRANSFORM_TEXTURE_0 < m_extensions.getTextureUnits())
            loadTextureMatrix(slot - TRANSFORM_TEXTURE_0);
        break;
    }
}

void COpenGLRenderDriver::applyMaterial(const RenderMaterial& material) {
    m_currentMaterial = material;
}

CPixelSize COpenGLRenderDriver::getRenderTargetSize() const {
    return m_currentRenderTarget ? m_renderTargetSize : m_screenSize;
}

void COpenGLRenderDriver::setViewportRect(const CPixelRect& rect) {
    const CPixelSize size = getRenderTargetSize();
    CPixelRect clipped = rect;
    clipped.right = std::min(clipped.right, int32_t(size.width));
    clipped.bottom = std::min(clipped.bottom, int32_t(size.height));
    clipped.left = std::max(clipped.left, 0);
    clipped.top = std::max(clipped.top, 0);
    clipped.left = std::min(clipped.left, clipped.right);
    clipped.top = std::min(clipped.top, clipped.bottom);
    if (clipped.right > clipped.left && clipped.bottom > clipped.top) {
        setViewport(
            clipped.left, int32_t(size.height) - clipped.bottom,
            {uint32_t(clipped.right - clipped.left), uint32_t(clipped.bottom - clipped.top)});
    }
    m_viewport = clipped;
}

void COpenGLRenderDriver::handleResize(CPixelSize size) {
    CNullRenderDriver::handleResize(size);
    setViewport(0, 0, size);
    m_transformChanged = true;
}

bool COpenGLRenderDriver::useRenderTargetKind(uint32_t kind, bool clearBackBuffer,
                                              bool clearDepthBuffer, CColor clearColor) {
    if (kind != m_renderTargetKind)
        useRenderTargetTexture(nullptr, false, false, CColor());
    if (kind == 1) {
        logLine("Fatal Error: For render textures call setRenderTarget with the actual texture "
                "as first parameter.",
                CLogger::LevelError);
        return false;
    }
    // Stereo buffers (kinds 3 and 4) need a stereo format, which is never made.
    if (kind >= 5 && kind - 5 < m_extensions.getAuxBuffers()) {
        m_gl->DrawBuffer(GL_AUX0 + (kind - 5));
    } else {
        m_gl->DrawBuffer(m_doubleBuffered ? GL_BACK : GL_FRONT);
        if (kind != 0)
            return false;
    }
    m_renderTargetKind = kind;
    clear(clearBackBuffer, clearDepthBuffer, false, clearColor);
    return true;
}

bool COpenGLRenderDriver::useRenderTargetTexture(IDriverTexture* texture, bool clearBackBuffer,
                                                 bool clearDepthBuffer, CColor clearColor) {
    if (texture && texture->getDriverKind() != DRIVER_KIND_OPENGL) {
        logLine("Fatal Error: Tried to set a texture not owned by this driver.",
                CLogger::LevelError);
        return false;
    }
    // A texture must not be sampled while it is drawn into.
    if (m_boundTextures[0]) {
        selectTextureStage(0);
        m_boundTextures[0] = nullptr;
        m_gl->Disable(GL_TEXTURE_2D);
    }
    m_resetAllStates = true;
    // The 2D projection follows the size of the target.
    m_transformChanged = true;
    if (m_currentRenderTarget)
        static_cast<COpenGLDriverTexture*>(m_currentRenderTarget.get())->unbindRenderTarget();
    if (texture) {
        const CPixelSize size = texture->getSize();
        setViewport(0, 0, size);
        m_currentRenderTarget = CRefPointer<IDriverTexture>::share(texture);
        static_cast<COpenGLDriverTexture*>(texture)->bindRenderTarget();
        m_renderTargetSize = size;
        m_renderTargetKind = 1;
    } else {
        setViewport(0, 0, m_screenSize);
        m_currentRenderTarget.reset();
        m_renderTargetSize = CPixelSize();
        m_renderTargetKind = 0;
    }
    clear(clearBackBuffer, clearDepthBuffer, false, clearColor);
    return true;
}

CRefPointer<CSoftwareImage> COpenGLRenderDriver::captureScreen() {
    const int32_t width = int32_t(m_screenSize.width);
    const int32_t height = int32_t(m_screenSize.height);
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_R8G8B8, width, height);
    if (!image || !image->getData())
        return nullptr;
    const bool packInvert = m_extensions.has(GL_EXTENSION_MESA_PACK_INVERT);
    if (packInvert)
        m_gl->PixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
    m_gl->ReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, image->getData());
    if (packInvert) {
        m_gl->PixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
        return image;
    }
    // GL rows run bottom-up.
    const size_t pitch = size_t(image->getPitch());
    uint8_t* data = image->getData();
    for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(data + size_t(top) * pitch, data + size_t(top + 1) * pitch,
                         data + size_t(bottom) * pitch);
    return image;
}

CRefPointer<IDriverTexture> COpenGLRenderDriver::createDeviceTexture(CSoftwareImage* image) {
    if (!image)
        return nullptr;
    return CRefPointer<IDriverTexture>(new COpenGLDriverTexture(image, this));
}

namespace {

bool isPowerOfTwo(uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

uint32_t largestPowerOfTwoAtMost(uint32_t value) {
    uint32_t power = 1;
    while (power * 2 <= value)
        power *= 2;
    return power;
}

} // namespace

CRefPointer<IDriverTexture> COpenGLRenderDriver::createRenderTargetTexture(CPixelSize size,
                                                                           int32_t formatCode) {
    const bool mipLevels = getTextureOption(TEXTURE_CREATE_MIP_MAPS);
    setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    CRefPointer<IDriverTexture> texture;
    if (hasFeature(FEATURE_FRAME_BUFFER_OBJECTS)) {
        CRefPointer<COpenGLFboTexture> target(new COpenGLFboTexture(size, this, formatCode));
        if (target->attachDepth())
            texture = target;
    } else {
        CPixelSize fitted{std::min(size.width, m_screenSize.width),
                          std::min(size.height, m_screenSize.height)};
        if (isPowerOfTwo(size.width) && isPowerOfTwo(size.height))
            fitted = {largestPowerOfTwoAtMost(fitted.width),
                      largestPowerOfTwoAtMost(fitted.height)};
        texture = createBlankTexture(fitted, COLOR_FORMAT_A8R8G8B8);
        if (texture)
            static_cast<COpenGLDriverTexture*>(texture.get())->markRenderTarget();
    }
    setTextureOption(TEXTURE_CREATE_MIP_MAPS, mipLevels);
    return texture;
}

int32_t COpenGLRenderDriver::addShaderPass(IMaterialPass* pass) {
    uint32_t index = MATERIAL_BUILT_IN_COUNT;
    while (index < getMaterialPassCount() && getMaterialPass(index))
        ++index;
    return setMaterialPass(int32_t(index), pass, nullptr);
}

int32_t COpenGLRenderDriver::createAsmMaterial(const char* vertexProgram, const char* pixelProgram,
                                               IShaderCallback* callback, int32_t baseMaterialType,
                                               int32_t userData) {
    CRefPointer<COpenGLAsmShaderPass> pass(
        new COpenGLAsmShaderPass(this, vertexProgram, pixelProgram, callback,
                                 getMaterialPass(uint32_t(baseMaterialType)), userData));
    return pass->isCompiled() ? addShaderPass(pass.get()) : -1;
}

int32_t COpenGLRenderDriver::createHighLevelMaterial(const char* vertexProgram, const char*,
                                                     int32_t, const char* pixelProgram, const char*,
                                                     int32_t, IShaderCallback* callback,
                                                     int32_t baseMaterialType, int32_t userData) {
    CRefPointer<COpenGLGlslPass> pass(
        new COpenGLGlslPass(this, vertexProgram, pixelProgram, callback,
                            getMaterialPass(uint32_t(baseMaterialType)), userData));
    return pass->isLinked() ? addShaderPass(pass.get()) : -1;
}

void COpenGLRenderDriver::addTexture(COpenGLDriverTexture* texture) {
    m_textures.append(texture);
}

void COpenGLRenderDriver::removeTexture(COpenGLDriverTexture* texture) {
    m_textures.eraseValue(texture);
    for (IDriverTexture*& bound : m_boundTextures) {
        if (bound == texture)
            bound = nullptr;
    }
}

CRefPointer<IRenderDriver> createOpenGLDriver(const CreationParameters& parameters,
                                              IVirtualFileSystem* fileSystem,
                                              CRefPointer<CTimer> timer, IHostWindowSystem& host) {
    IHostGL* gl = host.getGL();
    if (!gl)
        return nullptr;
    return COpenGLRenderDriver::create(parameters, fileSystem, std::move(timer), *gl);
}
