#include "engine/platform/host/HostGLSdl.h"

#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/HostWindowSystemSdl.h"

namespace {

bool samePixelFormat(const HostGLPixelFormat& a, const HostGLPixelFormat& b) {
    return a.colorBits == b.colorBits && a.alphaBits == b.alphaBits && a.depthBits == b.depthBits &&
           a.stencilBits == b.stencilBits && a.samples == b.samples &&
           a.doubleBuffer == b.doubleBuffer;
}

void applyAttributes(const HostGLPixelFormat& format) {
    const int red = format.colorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, format.colorBits == 16 ? 6 : red);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, red);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, format.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, format.samples);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
}

int attribute(SDL_GLattr which) {
    int value = 0;
    return SDL_GL_GetAttribute(which, &value) == 0 ? value : 0;
}

// The window system may give more than asked, never less.
bool satisfies(const HostGLPixelFormat& obtained, const HostGLPixelFormat& wanted) {
    return obtained.redBits >= (wanted.colorBits >= 24 ? 8 : 5) &&
           obtained.alphaBits >= wanted.alphaBits && obtained.depthBits >= wanted.depthBits &&
           obtained.stencilBits >= wanted.stencilBits && obtained.samples >= wanted.samples;
}

} // namespace

// Needs a current context.
void CHostGLSdl::readRendererTexts() {
    const auto getString =
        reinterpret_cast<decltype(&::glGetString)>(SDL_GL_GetProcAddress("glGetString"));
    const auto* renderer = getString ? getString(GL_RENDERER) : nullptr;
    const auto* version = getString ? getString(GL_VERSION) : nullptr;
    m_renderer = renderer ? reinterpret_cast<const char*>(renderer) : "";
    m_version = version ? reinterpret_cast<const char*>(version) : "";
}

bool CHostGLSdl::describeRenderer(CString& renderer, CString& version) {
    HostGLPixelFormat obtained;
    if (m_version.isEmpty() && m_windows.isReady())
        probe(HostGLPixelFormat(), obtained);
    renderer = m_renderer;
    version = m_version;
    return !m_version.isEmpty();
}

void CHostGLSdl::deleteAllContexts() {
    for (auto it = m_contexts.begin(); it != m_contexts.end(); ++it)
        SDL_GL_DeleteContext(it->value);
    m_contexts.clear();
}

bool CHostGLSdl::probe(const HostGLPixelFormat& wanted, HostGLPixelFormat& obtained) {
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    applyAttributes(wanted);
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (context) {
        obtained.redBits = attribute(SDL_GL_RED_SIZE);
        obtained.colorBits =
            obtained.redBits + attribute(SDL_GL_GREEN_SIZE) + attribute(SDL_GL_BLUE_SIZE);
        obtained.alphaBits = attribute(SDL_GL_ALPHA_SIZE);
        obtained.depthBits = attribute(SDL_GL_DEPTH_SIZE);
        obtained.stencilBits = attribute(SDL_GL_STENCIL_SIZE);
        obtained.samples =
            attribute(SDL_GL_MULTISAMPLEBUFFERS) ? attribute(SDL_GL_MULTISAMPLESAMPLES) : 0;
        obtained.doubleBuffer = attribute(SDL_GL_DOUBLEBUFFER) != 0;
        if (m_version.isEmpty())
            readRendererTexts();
        SDL_GL_DeleteContext(context);
    }
    if (window)
        SDL_DestroyWindow(window);
    SDL_GL_MakeCurrent(previousWindow, previousContext);
    return context != nullptr;
}

int32_t CHostGLSdl::choosePixelFormat(const HostGLPixelFormat& wanted) {
    for (uint32_t i = 0; i < m_formats.size(); ++i) {
        if (samePixelFormat(m_formats[i].wanted, wanted))
            return m_formats[i].available ? int32_t(i + 1) : 0;
    }
    Format entry;
    entry.wanted = wanted;
    entry.available =
        m_windows.isReady() && probe(wanted, entry.obtained) && satisfies(entry.obtained, wanted);
    m_formats.append(entry);
    return entry.available ? int32_t(m_formats.size()) : 0;
}

const CHostGLSdl::Format* CHostGLSdl::format(int32_t id) const {
    if (id <= 0 || uint32_t(id) > m_formats.size() || !m_formats[uint32_t(id - 1)].available)
        return nullptr;
    return &m_formats[uint32_t(id - 1)];
}

bool CHostGLSdl::describePixelFormat(int32_t id, HostGLPixelFormat& described) const {
    const Format* entry = format(id);
    if (!entry)
        return false;
    described = entry->obtained;
    return true;
}

bool CHostGLSdl::setPixelFormat(HostWindow window, int32_t id) {
    const Format* entry = format(id);
    if (!entry || !m_windows.sdlWindow(window))
        return false;
    applyAttributes(entry->wanted);
    if (!m_windows.reopenWindow(window))
        return false;
    m_windowFormats[window] = id;
    return true;
}

HostGLContext CHostGLSdl::createContext(HostWindow window) {
    SDL_Window* sdl = m_windows.sdlWindow(window);
    auto found = m_windowFormats.find(window);
    if (!sdl || found == m_windowFormats.end())
        return kNoHostGLContext;
    applyAttributes(format(found->value)->wanted);
    SDL_GLContext context = SDL_GL_CreateContext(sdl);
    if (!context)
        return kNoHostGLContext;
    m_contexts.insert(m_nextContext, context);
    return m_nextContext++;
}

bool CHostGLSdl::makeCurrent(HostWindow window, HostGLContext context) {
    SDL_Window* sdl = m_windows.sdlWindow(window);
    // Releasing leaves another window's current context alone.
    if (context == kNoHostGLContext)
        return SDL_GL_GetCurrentWindow() != sdl || SDL_GL_MakeCurrent(sdl, nullptr) == 0;
    auto found = m_contexts.find(context);
    return sdl && found != m_contexts.end() && SDL_GL_MakeCurrent(sdl, found->value) == 0;
}

bool CHostGLSdl::deleteContext(HostGLContext context) {
    auto found = m_contexts.find(context);
    if (found == m_contexts.end())
        return false;
    SDL_GL_DeleteContext(found->value);
    m_contexts.erase(context);
    return true;
}

bool CHostGLSdl::swapBuffers(HostWindow window) {
    SDL_Window* sdl = m_windows.sdlWindow(window);
    if (!sdl)
        return false;
    SDL_GL_SwapWindow(sdl);
    return true;
}

bool CHostGLSdl::setSwapInterval(int32_t interval) {
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void* CHostGLSdl::getProcAddress(const char* name) {
    if (!name || !SDL_GL_GetCurrentContext())
        return nullptr;
    // SDL's lookup answers for any name its GL library knows, so ask the context what it offers.
    auto getString =
        reinterpret_cast<decltype(&::glGetString)>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString)
        return nullptr;
    const auto* version = reinterpret_cast<const char*>(getString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(getString(GL_EXTENSIONS));
    if (!isGLFunctionOffered(name, parseGLVersion(version), extensions))
        return nullptr;
    return SDL_GL_GetProcAddress(name);
}
