#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/platform/host/HostMessages.h"

// A pixel format of a window that OpenGL draws into: what is asked for, or what a format gives.
// Colour bits count the colour buffer as the window system does: 32 or 24 for eight bits a
// channel, 16 for 5-6-5, 15 for 5-5-5; alpha is counted apart.
struct HostGLPixelFormat {
    int32_t colorBits = 32;
    int32_t alphaBits = 0;
    int32_t depthBits = 24;
    int32_t stencilBits = 0;
    // 0 without multisampling.
    int32_t samples = 0;
    bool doubleBuffer = true;
    // Filled when a format is described; ignored when one is asked for.
    int32_t redBits = 0;
};

// A rendering context of the GL facet; 0 is none.
using HostGLContext = uint32_t;
constexpr HostGLContext kNoHostGLContext = 0;

// The OpenGL facet of the window layer, in place of the platform's GL binding. A driver draws
// into a window of the window system in this order:
//   1. choosePixelFormat with what it wants (it may loosen the request and ask again);
//   2. setPixelFormat on the window, once, before any context;
//   3. createContext for the window, then makeCurrent;
//   4. load the GL function table (GLFunctions::load) from getProcAddress;
//   5. draw through the table, swapBuffers to show a frame;
//   6. makeCurrent with kNoHostGLContext, deleteContext.
// Everything runs on the main thread; the current context belongs to that thread.
class IHostGL {
public:
    virtual ~IHostGL() = default;

    // The id (above 0) of a format that has at least the colour, alpha, depth and stencil bits
    // and the samples asked for; 0 when the window system has none.
    virtual int32_t choosePixelFormat(const HostGLPixelFormat& wanted) = 0;
    // What the format gives; false for an unknown id.
    virtual bool describePixelFormat(int32_t format, HostGLPixelFormat& described) const = 0;
    // Gives the window the format; false for an unknown window or format.
    virtual bool setPixelFormat(HostWindow window, int32_t format) = 0;

    // A context for the window's pixel format; kNoHostGLContext when none can be made.
    virtual HostGLContext createContext(HostWindow window) = 0;
    // Makes the context current and draws into the window; kNoHostGLContext leaves no context
    // current when the window's is, and leaves another window's alone.
    virtual bool makeCurrent(HostWindow window, HostGLContext context) = 0;
    virtual bool deleteContext(HostGLContext context) = 0;

    // Shows the frame drawn into the window's back buffer.
    virtual bool swapBuffers(HostWindow window) = 0;
    // Frames shown per vertical retrace: 1 waits for it, 0 does not. False when the window
    // system cannot (offscreen drivers and Xvfb have no retrace).
    virtual bool setSwapInterval(int32_t interval) = 0;

    // The entry point of the current context, or null unless the context's version or an
    // extension it advertises offers the function: a name the window system merely knows does
    // not count. Only names of the GL function table are answered.
    virtual void* getProcAddress(const char* name) = 0;

    // The GL_RENDERER and GL_VERSION texts of the window system's OpenGL, for the log; no
    // context need be current. False when no context can be made to ask.
    virtual bool describeRenderer(CString& renderer, CString& version) = 0;
};
