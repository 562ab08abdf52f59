#pragma once

#include <cstdint>

#include "engine/video/opengl/OpenGLDriverTexture.h"

// A render target in a frame-buffer object: a colour texture that drawing goes into while it is
// the driver's target, with a depth buffer of its own. Like every render target its rows run
// bottom-up; mapping turns them top-down.
class COpenGLFboTexture : public COpenGLDriverTexture {
public:
    // Format codes 5 to 10 are float formats; any other is 8 bits a channel.
    COpenGLFboTexture(CPixelSize size, COpenGLRenderDriver* driver, int32_t formatCode);

    bool isFrameBufferObject() const override { return true; }
    void bindRenderTarget() override;
    void unbindRenderTarget() override;

    // Gives the frame buffer a depth buffer of its size; false, logged, when the frame buffer
    // is incomplete then.
    bool attachDepth();

protected:
    ~COpenGLFboTexture() override;

private:
    uint32_t m_frameBuffer = 0;
    uint32_t m_depthBuffer = 0;
};

struct GLFunctions;

// Whether the frame buffer bound now is complete; logs why when it is not.
bool checkFramebufferStatus(const GLFunctions& gl);
