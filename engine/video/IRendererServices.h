#pragma once

#include <cstdint>

class IRenderDriver;
class RenderMaterial;

// What a drawing driver offers its material passes and shader callbacks.
class IRendererServices {
public:
    virtual ~IRendererServices() = default;

    // The render states every material type shares.
    virtual void setBaseRenderStates(const RenderMaterial& material, const RenderMaterial& last,
                                     bool resetAllStates) = 0;
    // Four floats per register.
    virtual void setVertexShaderConstants(const float* data, int32_t firstRegister,
                                          int32_t registerCount) = 0;
    virtual bool setVertexShaderConstant(const char* name, const float* data, int32_t count) = 0;
    virtual void setPixelShaderConstants(const float* data, int32_t firstRegister,
                                         int32_t registerCount) = 0;
    virtual bool setPixelShaderConstant(const char* name, const float* data, int32_t count) = 0;
    virtual IRenderDriver* getVideoDriver() = 0;
};
