#include "engine/video/opengl/OpenGLGlslPass.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

namespace {

// Longest info log and uniform name taken from the implementation.
constexpr GLint kMaxText = 65536;

void logLine(const char* text) {
    CLogger::instance()->logChars(text, CLogger::LevelInformation);
}

} // namespace

COpenGLGlslPass::COpenGLGlslPass(COpenGLRenderDriver* driver, const char* vertexProgram,
                                 const char* pixelProgram, IShaderCallback* callback,
                                 IMaterialPass* base, int32_t userData)
    : m_driver(driver), m_callback(CRefPointer<IShaderCallback>::share(callback)),
      m_base(CRefPointer<IMaterialPass>::share(base)), m_userData(userData) {
    if (!driver->hasFeature(FEATURE_GLSL) || !driver->gl().CreateProgramObjectARB)
        return;
    m_program = driver->gl().CreateProgramObjectARB();
    m_linked = compileShader(GL_VERTEX_SHADER_ARB, vertexProgram) &&
               compileShader(GL_FRAGMENT_SHADER_ARB, pixelProgram) && link();
}

COpenGLGlslPass::~COpenGLGlslPass() {
    if (m_program)
        m_driver->gl().DeleteObjectARB(m_program);
}

void COpenGLGlslPass::logInfo(const char* what, uint32_t object) {
    const GLFunctions& gl = m_driver->gl();
    logLine(what);
    GLint length = 0;
    gl.GetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    length = std::clamp<GLint>(length, 1, kMaxText);
    CArray<char> text;
    text.reallocate(uint32_t(length));
    GLsizei written = 0;
    gl.GetInfoLogARB(object, length, &written, text.data());
    text.data()[std::clamp<GLsizei>(written, 0, length - 1)] = '\0';
    logLine(text.data());
}

bool COpenGLGlslPass::compileShader(uint32_t kind, const char* text) {
    if (!text)
        return true;
    const GLFunctions& gl = m_driver->gl();
    const uint32_t shader = gl.CreateShaderObjectARB(kind);
    gl.ShaderSourceARB(shader, 1, &text, nullptr);
    gl.CompileShaderARB(shader);
    GLint compiled = 0;
    gl.GetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (compiled)
        gl.AttachObjectARB(m_program, shader);
    else
        logInfo("GLSL shader failed to compile", shader);
    // An attached shader goes with its program.
    gl.DeleteObjectARB(shader);
    return compiled != 0;
}

bool COpenGLGlslPass::link() {
    const GLFunctions& gl = m_driver->gl();
    gl.LinkProgramARB(m_program);
    GLint linked = 0;
    gl.GetObjectParameterivARB(m_program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        logInfo("GLSL shader program failed to link", m_program);
        return false;
    }
    GLint count = 0;
    gl.GetObjectParameterivARB(m_program, GL_OBJECT_ACTIVE_UNIFORMS_ARB, &count);
    if (count <= 0)
        return true;
    GLint longest = 0;
    gl.GetObjectParameterivARB(m_program, GL_OBJECT_ACTIVE_UNIFORM_MAX_LENGTH_ARB, &longest);
    if (longest <= 0) {
        logLine("GLSL: failed to retrieve uniform information");
        return false;
    }
    longest = std::min(longest, kMaxText);
    CArray<char> name;
    name.reallocate(uint32_t(longest));
    m_uniforms.clear();
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        gl.GetActiveUniformARB(m_program, GLuint(i), longest, &length, &size, &type, name.data());
        name.data()[std::clamp<GLsizei>(length, 0, longest - 1)] = '\0';
        m_uniforms.append(Uniform{CString(name.data()), type});
    }
    return true;
}

void COpenGLGlslPass::applyStates(const RenderMaterial& material, const RenderMaterial& last,
                                  bool resetAllStates, IRendererServices*) {
    if (resetAllStates || material.type != last.type) {
        m_driver->gl().UseProgramObjectARB(m_program);
        if (m_base)
            m_base->applyStates(material, material, true, this);
    }
    if (m_callback)
        m_callback->onSetMaterial(material);
    m_driver->bindMaterialLayers(material);
    m_driver->setBaseRenderStates(material, last, resetAllStates);
}

bool COpenGLGlslPass::beforeDraw(IRendererServices*, uint32_t) {
    if (m_callback && m_program)
        m_callback->onSetConstants(this, m_userData);
    return true;
}

void COpenGLGlslPass::restoreStates() {
    m_driver->gl().UseProgramObjectARB(0);
    if (m_base)
        m_base->restoreStates();
}

bool COpenGLGlslPass::usesTransparency() const {
    return m_base && m_base->usesTransparency();
}

void COpenGLGlslPass::setBaseRenderStates(const RenderMaterial& material,
                                          const RenderMaterial& last, bool resetAllStates) {
    m_driver->setBaseRenderStates(material, last, resetAllStates);
}

void COpenGLGlslPass::setVertexShaderConstants(const float*, int32_t, int32_t) {
    logLine("Cannot set constant, please use high level shader call instead.");
}

void COpenGLGlslPass::setPixelShaderConstants(const float*, int32_t, int32_t) {
    logLine("Cannot set constant, use high level shader call.");
}

bool COpenGLGlslPass::setVertexShaderConstant(const char* name, const float* data, int32_t count) {
    return setPixelShaderConstant(name, data, count);
}

bool COpenGLGlslPass::setPixelShaderConstant(const char* name, const float* data, int32_t count) {
    const Uniform* uniform = nullptr;
    for (const Uniform& candidate : m_uniforms) {
        if (name && candidate.name == name)
            uniform = &candidate;
    }
    if (!uniform || !data || count < 0)
        return false;
    const GLFunctions& gl = m_driver->gl();
    const GLint location = gl.GetUniformLocationARB(m_program, name);
    switch (uniform->type) {
    case GL_FLOAT_VEC2_ARB:
        gl.Uniform2fvARB(location, count / 2, data);
        break;
    case GL_FLOAT_VEC3_ARB:
        gl.Uniform3fvARB(location, count / 3, data);
        break;
    case GL_FLOAT_VEC4_ARB:
        gl.Uniform4fvARB(location, count / 4, data);
        break;
    case GL_FLOAT_MAT2_ARB:
        gl.UniformMatrix2fvARB(location, count / 4, GL_FALSE, data);
        break;
    case GL_FLOAT_MAT3_ARB:
        gl.UniformMatrix3fvARB(location, count / 9, GL_FALSE, data);
        break;
    case GL_FLOAT_MAT4_ARB:
        gl.UniformMatrix4fvARB(location, count / 16, GL_FALSE, data);
        break;
    case GL_FLOAT:
        gl.Uniform1fvARB(location, count, data);
        break;
    default: {
        // Integers and samplers: the values, not the bits of the floats.
        CArray<GLint> values;
        for (int32_t i = 0; i < count; ++i)
            values.append(GLint(data[i]));
        gl.Uniform1ivARB(location, count, values.data());
        break;
    }
    }
    return true;
}

IRenderDriver* COpenGLGlslPass::getVideoDriver() {
    return m_driver;
}
