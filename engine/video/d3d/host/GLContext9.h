#pragma once

#include "engine/core/RefCounted.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostGL.h"

// The GL context of one Direct3D 9 device on the GL runtime, shared by the device and the
// textures it made, so that the last of them deletes it and textures can delete their GL
// objects in it after the device is gone.
class CGLContext9 : public CRefCounted {
public:
    CGLContext9(IHostGL& facet, HostWindow window, HostGLContext context)
        : m_facet(facet), m_window(window), m_context(context) {}

    // Loads the entry points; false when the context lacks one it must have.
    bool load() { return m_gl.load(m_facet); }
    const GLFunctions& gl() const { return m_gl; }
    IHostGL& facet() const { return m_facet; }
    HostWindow window() const { return m_window; }
    // False once the window or its context is gone: GL objects then went with the context.
    bool makeCurrent();
    // The context our runtime made current last, or none.
    static CGLContext9* current();

protected:
    ~CGLContext9() override;

private:
    IHostGL& m_facet;
    HostWindow m_window;
    HostGLContext m_context;
    GLFunctions m_gl;
};

// Makes a context current for the work of the scope, such as deleting GL objects of a device
// that is going, and then the one that was current before: another device keeps drawing.
class CGLContextScope {
public:
    explicit CGLContextScope(CGLContext9& context)
        : m_previous(CGLContext9::current()), m_current(context.makeCurrent()) {}
    ~CGLContextScope();
    CGLContextScope(const CGLContextScope&) = delete;
    CGLContextScope& operator=(const CGLContextScope&) = delete;

    bool isCurrent() const { return m_current; }

private:
    CGLContext9* m_previous;
    bool m_current;
};
