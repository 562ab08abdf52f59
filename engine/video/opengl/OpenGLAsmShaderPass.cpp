#include "engine/video/opengl/OpenGLAsmShaderPass.h"

#include <cstdio>
#include <cstring>

#include "engine/core/Logger.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

COpenGLAsmShaderPass::COpenGLAsmShaderPass(COpenGLRenderDriver* driver, const char* vertexProgram,
                                           const char* pixelProgram, IShaderCallback* callback,
                                           IMaterialPass* base, int32_t userData)
    : m_driver(driver), m_callback(CRefPointer<IShaderCallback>::share(callback)),
      m_base(CRefPointer<IMaterialPass>::share(base)), m_userData(userData) {
    m_compiled = compile(GL_VERTEX_PROGRAM_ARB, vertexProgram,
                         "Vertex shader compilation failed at position %d:\n%s", m_vertexProgram) &&
                 compile(GL_FRAGMENT_PROGRAM_ARB, pixelProgram,
                         "Pixel shader compilation failed at position %d:\n%s", m_fragmentProgram);
}

COpenGLAsmShaderPass::~COpenGLAsmShaderPass() {
    const GLFunctions& gl = m_driver->gl();
    if (m_vertexProgram)
        gl.DeleteProgramsARB(1, &m_vertexProgram);
    if (m_fragmentProgram)
        gl.DeleteProgramsARB(1, &m_fragmentProgram);
}

bool COpenGLAsmShaderPass::compile(uint32_t target, const char* text, const char* failure,
                                   uint32_t& program) {
    if (!text)
        return true;
    const GLFunctions& gl = m_driver->gl();
    if (!gl.GenProgramsARB || !gl.BindProgramARB || !gl.ProgramStringARB) {
        CLogger::instance()->logChars("Assembly programs are not available.",
                                      CLogger::LevelInformation);
        return false;
    }
    gl.GenProgramsARB(1, &program);
    gl.BindProgramARB(target, program);
    gl.clearErrors();
    gl.ProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(std::strlen(text)), text);
    if (gl.GetError() == GL_NO_ERROR)
        return true;
    GLint position = -1;
    gl.GetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    const char* error = reinterpret_cast<const char*>(gl.GetString(GL_PROGRAM_ERROR_STRING_ARB));
    char line[1024];
    std::snprintf(line, sizeof(line), failure, int(position), error ? error : "");
    CLogger::instance()->logChars(line, CLogger::LevelInformation);
    return false;
}

void COpenGLAsmShaderPass::applyStates(const RenderMaterial& material, const RenderMaterial& last,
                                       bool resetAllStates, IRendererServices* services) {
    const GLFunctions& gl = m_driver->gl();
    if (resetAllStates || material.type != last.type) {
        if (m_vertexProgram) {
            gl.Enable(GL_VERTEX_PROGRAM_ARB);
            gl.BindProgramARB(GL_VERTEX_PROGRAM_ARB, m_vertexProgram);
        }
        if (m_fragmentProgram) {
            gl.Enable(GL_FRAGMENT_PROGRAM_ARB);
            gl.BindProgramARB(GL_FRAGMENT_PROGRAM_ARB, m_fragmentProgram);
        }
        if (m_base)
            m_base->applyStates(material, material, true, services);
    }
    if (m_callback)
        m_callback->onSetMaterial(material);
    m_driver->bindMaterialLayers(material);
    m_driver->setBaseRenderStates(material, last, resetAllStates);
}

bool COpenGLAsmShaderPass::beforeDraw(IRendererServices* services, uint32_t) {
    if (m_callback && (m_vertexProgram || m_fragmentProgram))
        m_callback->onSetConstants(services, m_userData);
    return true;
}

void COpenGLAsmShaderPass::restoreStates() {
    const GLFunctions& gl = m_driver->gl();
    if (m_vertexProgram)
        gl.Disable(GL_VERTEX_PROGRAM_ARB);
    if (m_fragmentProgram)
        gl.Disable(GL_FRAGMENT_PROGRAM_ARB);
    if (m_base)
        m_base->restoreStates();
}

bool COpenGLAsmShaderPass::usesTransparency() const {
    return m_base && m_base->usesTransparency();
}
