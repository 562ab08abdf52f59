#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/video/IMaterialPass.h"
#include "engine/video/IRendererServices.h"
#include "engine/video/IShaderCallback.h"

class COpenGLRenderDriver;

// A material pass of a program in the OpenGL shading language. The callback sets the
// program's uniforms by name through the pass itself, which serves as its renderer services.
class COpenGLGlslPass : public IMaterialPass, public IRendererServices {
public:
    // Compiles and links the shaders given (either may be missing); nothing is built without
    // the shading language. Failures are logged with the implementation's own text.
    COpenGLGlslPass(COpenGLRenderDriver* driver, const char* vertexProgram,
                    const char* pixelProgram, IShaderCallback* callback, IMaterialPass* base,
                    int32_t userData);

    bool isLinked() const { return m_linked; }

    void applyStates(const RenderMaterial& material, const RenderMaterial& last,
                     bool resetAllStates, IRendererServices* services) override;
    bool beforeDraw(IRendererServices* services, uint32_t vertexType) override;
    void restoreStates() override;
    bool usesTransparency() const override;

    void setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                             bool resetAllStates) override;
    void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                  int32_t registerCount) override;
    bool setVertexShaderConstant(const char* name, const float* data, int32_t count) override;
    void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                 int32_t registerCount) override;
    // Sets the uniform of exactly that name by its type; false when the program has none.
    bool setPixelShaderConstant(const char* name, const float* data, int32_t count) override;
    IRenderDriver* getVideoDriver() override;

protected:
    ~COpenGLGlslPass() override;

private:
    struct Uniform {
        CString name;
        uint32_t type;
    };

    bool compileShader(uint32_t kind, const char* text);
    bool link();
    void logInfo(const char* what, uint32_t object);

    COpenGLRenderDriver* m_driver;
    CRefPointer<IShaderCallback> m_callback;
    CRefPointer<IMaterialPass> m_base;
    uint32_t m_program = 0;
    CArray<Uniform> m_uniforms;
    int32_t m_userData;
    bool m_linked = false;
};
