#pragma once

#include <SDL.h>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/platform/host/IHostGL.h"

class CHostWindowSystemSdl;

// The GL facet on SDL 2. A pixel format is the set of SDL GL attributes asked for: choosing
// one tries it on a hidden probe window and keeps what the context really got; setting it on a
// window opens the window anew with those attributes, since SDL fixes them when a window opens.
class CHostGLSdl : public IHostGL {
public:
    // The window system outlives the facet; it owns it.
    explicit CHostGLSdl(CHostWindowSystemSdl& windows) : m_windows(windows) {}
    ~CHostGLSdl() override { deleteAllContexts(); }

    CHostGLSdl(const CHostGLSdl&) = delete;
    CHostGLSdl& operator=(const CHostGLSdl&) = delete;

    // Deletes every context still open, before SDL's video stops.
    void deleteAllContexts();

    int32_t choosePixelFormat(const HostGLPixelFormat& wanted) override;
    bool describePixelFormat(int32_t format, HostGLPixelFormat& described) const override;
    bool setPixelFormat(HostWindow window, int32_t format) override;
    HostGLContext createContext(HostWindow window) override;
    bool makeCurrent(HostWindow window, HostGLContext context) override;
    bool deleteContext(HostGLContext context) override;
    bool swapBuffers(HostWindow window) override;
    bool setSwapInterval(int32_t interval) override;
    void* getProcAddress(const char* name) override;
    bool describeRenderer(CString& renderer, CString& version) override;

private:
    struct Format {
        HostGLPixelFormat wanted;
        HostGLPixelFormat obtained;
        bool available = false;
    };

    // Opens a hidden window and a context with the attributes and reads what they got (and,
    // the first time, the renderer's texts); the context current before stays current.
    bool probe(const HostGLPixelFormat& wanted, HostGLPixelFormat& obtained);
    const Format* format(int32_t id) const;
    void readRendererTexts();

    CHostWindowSystemSdl& m_windows;
    // Format ids are their index + 1; a format asked for again gets its id back.
    CArray<Format> m_formats;
    CMap<HostWindow, int32_t> m_windowFormats;
    CMap<HostGLContext, SDL_GLContext> m_contexts;
    HostGLContext m_nextContext = 1;
    CString m_renderer;
    CString m_version;
};
