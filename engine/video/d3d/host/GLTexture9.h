#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/video/d3d/host/GLContext9.h"
#include "engine/video/d3d/host/MemoryTexture9.h"

// A texture of the GL runtime: its levels in memory, sent to a GL texture when bound after a
// write. A level written whole from the caller's pixels goes to GL at once and keeps no memory
// until a lock asks for it, when it is read back. A render target has no memory: it is drawn into
// through a frame buffer object with a depth and stencil buffer of its own, its rows top-down as
// Direct3D keeps them.
class CGLTexture9 : public CMemoryTexture9 {
public:
    // None for a format GL cannot hold as Direct3D lays it out.
    static CGLTexture9* create(CGLContext9& context, uint32_t width, uint32_t height,
                               uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool);

    // Binds it on the active unit, sending what was written since, with the sampler states
    // (indexed by D3DSAMPLERSTATETYPE).
    void bind(const uint32_t* samplerStates);
    // Makes the frame buffer object the target of drawing.
    bool bindFrameBuffer();
    // Reads the render target's pixels into memory of its size and format.
    bool readPixels(CPixelMemory9& destination);
    HRESULT writeLevel(uint32_t level, const void* pixels, uint32_t pitch) override;

protected:
    ~CGLTexture9() override;
    void onLevelWritten(uint32_t level) override { m_dirtyLevels |= 1u << level; }
    bool fillLevelMemory(uint32_t level, CPixelMemory9& memory) override;

private:
    struct GLFormat {
        GLenum internalFormat;
        GLenum format;
        GLenum type;
    };

    CGLTexture9(CGLContext9& context, uint32_t width, uint32_t height, uint32_t levels,
                uint32_t usage, D3DFORMAT format, D3DPOOL pool, const GLFormat& glFormat);

    static bool glFormatOf(D3DFORMAT format, GLFormat& glFormat);
    void allocateLevels();
    // Sends pixels to a level of the bound texture: the whole level the first time, then into
    // the level made.
    void sendLevel(uint32_t level, const void* pixels, uint32_t pitch);
    void applySampler(const uint32_t* samplerStates);

    CRefPointer<CGLContext9> m_context;
    GLFormat m_glFormat;
    GLuint m_name = 0;
    GLuint m_frameBuffer = 0;
    GLuint m_depthBuffer = 0;
    uint32_t m_dirtyLevels = 0;
    // The levels GL has storage for.
    uint32_t m_madeLevels = 0;
    // What the GL texture's parameters were last set from.
    GLint m_minFilter = -1;
    GLint m_magFilter = -1;
    GLint m_wrapS = -1;
    GLint m_wrapT = -1;
    float m_lodBias = 0;
};
