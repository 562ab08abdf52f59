#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostGL.h"

// Formats one GL call as the recorder writes it: the name without "gl", then each argument
// after a blank; integers in decimal, floats as %g, pointers as "ptr" or "null".
// glCall("BlendFunc", GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA) gives "BlendFunc 770 771".
namespace gl_call_detail {
template <typename T>
void appendArgument(std::ostringstream& out, T value) {
    if constexpr (std::is_pointer_v<T>)
        out << (value ? " ptr" : " null");
    else if constexpr (std::is_floating_point_v<T>)
        out << ' ' << double(value);
    else if constexpr (std::is_signed_v<T>)
        out << ' ' << int64_t(value);
    else
        out << ' ' << uint64_t(value);
}
} // namespace gl_call_detail

template <typename... Args>
std::string glCall(const char* name, Args... args) {
    std::ostringstream out;
    out << name;
    (gl_call_detail::appendArgument(out, args), ...);
    return out.str();
}

// A GL facet for tests. Over a real facet (a window of the SDL window system on llvmpipe) it
// passes everything on and records each GL call the code makes through the table it loads;
// alone it is a scripted implementation that draws nothing: pixel formats are accepted or
// refused by a rule of the test, queries answer from the fields below, names count up.
// Facet calls are recorded too: "choosePixelFormat <colour> <alpha> <depth> <stencil>
// <samples>", "setPixelFormat <id>", "createContext", "swapBuffers", "setSwapInterval <n>".
// One recorder is active at a time: the newest.
class RecordingGL : public IHostGL {
public:
    explicit RecordingGL(IHostGL* real = nullptr);
    ~RecordingGL() override;

    RecordingGL(const RecordingGL&) = delete;
    RecordingGL& operator=(const RecordingGL&) = delete;

    // What the scripted implementation offers (alone only).
    std::string version = "2.1 Scripted";
    std::string extensionList =
        "GL_ARB_multitexture GL_ARB_texture_env_combine GL_EXT_framebuffer_object "
        "GL_ARB_multisample GL_EXT_separate_specular_color GL_ARB_vertex_program "
        "GL_ARB_fragment_program GL_ARB_shader_objects GL_ARB_shading_language_100";
    // Pixel formats the window system gives (alone only); all when empty.
    std::function<bool(const HostGLPixelFormat&)> acceptsFormat;
    bool refuseContext = false;
    bool refuseSwapInterval = true;
    GLenum framebufferStatus = GL_FRAMEBUFFER_COMPLETE_EXT;

    // Both alone and over a real facet: extensions taken out of the list (their functions
    // vanish too) and integer queries answered by the test.
    std::set<std::string> hiddenExtensions;
    std::map<GLenum, GLint> integers;

    // The calls made, in order; recording can be paused.
    std::vector<std::string> calls;
    bool recording = true;
    size_t count(const std::string& call) const;
    // The calls whose text starts with the prefix.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    int32_t choosePixelFormat(const HostGLPixelFormat& wanted) override;
    bool describePixelFormat(int32_t format, HostGLPixelFormat& described) const override;
    bool setPixelFormat(HostWindow window, int32_t format) override;
    HostGLContext createContext(HostWindow window) override;
    bool makeCurrent(HostWindow window, HostGLContext context) override;
    bool deleteContext(HostGLContext context) override;
    bool swapBuffers(HostWindow window) override;
    bool setSwapInterval(int32_t interval) override;
    void* getProcAddress(const char* name) override;
    // Alone: "Recording" and the version above.
    bool describeRenderer(CString& renderer, CString& version) override;

    // For the recording stand-ins of the table's functions.
    static RecordingGL& active();
    // The real functions (null alone) and the test's own answers for a few queries.
    GLFunctions real;
    GLFunctions answers;
    const char* visibleExtensions();
    GLuint nextName = 1;

private:
    void log(const std::string& line);

    IHostGL* m_real;
    RecordingGL* m_previous;
    std::vector<HostGLPixelFormat> m_formats;
    std::string m_visibleExtensions;
    HostGLContext m_nextContext = 1;
};
