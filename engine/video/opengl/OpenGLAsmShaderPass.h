#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/IMaterialPass.h"
#include "engine/video/IShaderCallback.h"

class COpenGLRenderDriver;

// A material pass of assembly vertex and fragment programs: the programs replace the
// fixed-function stages, a base pass sets the remaining states, and the callback sets the
// programs' constants before every draw. Either program may be missing.
class COpenGLAsmShaderPass : public IMaterialPass {
public:
    // Compiles the programs given; failures are logged with the implementation's own text.
    COpenGLAsmShaderPass(COpenGLRenderDriver* driver, const char* vertexProgram,
                         const char* pixelProgram, IShaderCallback* callback, IMaterialPass* base,
                         int32_t userData);

    // Whether every program given compiled.
    bool isCompiled() const { return m_compiled; }

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
    void restoreStates() override;
    bool usesTransparency() const override;

protected:
    ~COpenGLAsmShaderPass() override;

private:
    // The program's name, 0 without text; false when the text does not compile.
    bool compile(uint32_t target, const char* text, const char* failure, uint32_t& program);

    COpenGLRenderDriver* m_driver;
    CRefPointer<IShaderCallback> m_callback;
    CRefPointer<IMaterialPass> m_base;
    uint32_t m_vertexProgram = 0;
    uint32_t m_fragmentProgram = 0;
    int32_t m_userData;
    bool m_compiled = false;
};
