#include "support/RecordingGL.h"

#include <cstring>

namespace {

RecordingGL* g_active = nullptr;

// Table indices, so every stand-in knows its name.
enum FunctionIndex : size_t {
#define VANTOR_GL_INDEX(name, ...) k##name,
    VANTOR_GL_CORE_FUNCTIONS(VANTOR_GL_INDEX) VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_INDEX)
#undef VANTOR_GL_INDEX
        kFunctionCount
};

constexpr const char* kNames[kFunctionCount] = {
#define VANTOR_GL_NAME(name, ...) #name,
    VANTOR_GL_CORE_FUNCTIONS(VANTOR_GL_NAME) VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_NAME)
#undef VANTOR_GL_NAME
};

// Records the call, then gives it to the test's answer, the real function, or nobody.
template <size_t Index, auto Member, typename Function>
struct StandIn;

template <size_t Index, auto Member, typename Result, typename... Args>
struct StandIn<Index, Member, Result (*)(Args...)> {
    static Result call(Args... args) {
        RecordingGL& gl = RecordingGL::active();
        if (gl.recording)
            gl.calls.push_back(glCall(kNames[Index], args...));
        if (auto answer = gl.answers.*Member)
            return answer(args...);
        if (auto real = gl.real.*Member)
            return real(args...);
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }
};

struct Entry {
    const char* name;
    void* standIn;
};

const Entry kEntries[kFunctionCount] = {
#define VANTOR_GL_ENTRY(name, ...)                                                                 \
    {"gl" #name, reinterpret_cast<void*>(                                                          \
                     &StandIn<k##name, &GLFunctions::name, decltype(GLFunctions::name)>::call)},
    VANTOR_GL_CORE_FUNCTIONS(VANTOR_GL_ENTRY) VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_ENTRY)
#undef VANTOR_GL_ENTRY
};

bool isReal() {
    return RecordingGL::active().real.GetString != nullptr;
}

const GLubyte* getString(GLenum name) {
    RecordingGL& gl = RecordingGL::active();
    if (name == GL_EXTENSIONS)
        return reinterpret_cast<const GLubyte*>(gl.visibleExtensions());
    if (isReal())
        return gl.real.GetString(name);
    switch (name) {
    case GL_VERSION:
        return reinterpret_cast<const GLubyte*>(gl.version.c_str());
    case GL_SHADING_LANGUAGE_VERSION_ARB:
        return reinterpret_cast<const GLubyte*>("1.10");
    case GL_RENDERER:
        return reinterpret_cast<const GLubyte*>("Scripted");
    case GL_VENDOR:
        return reinterpret_cast<const GLubyte*>("Tests");
    default:
        return nullptr;
    }
}

void getIntegerv(GLenum name, GLint* value) {
    RecordingGL& gl = RecordingGL::active();
    const auto answer = gl.integers.find(name);
    if (answer != gl.integers.end())
        *value = answer->second;
    else if (isReal())
        gl.real.GetIntegerv(name, value);
    else
        *value = name == GL_MAX_TEXTURE_SIZE ? 4096 : 0;
}

void getFloatv(GLenum name, GLfloat* values) {
    if (isReal()) {
        RecordingGL::active().real.GetFloatv(name, values);
        return;
    }
    values[0] = 1.0f;
    if (name == GL_ALIASED_POINT_SIZE_RANGE)
        values[1] = 64.0f;
}

// Names for the scripted implementation: textures, frame buffers, programs, shaders.
void genNames(GLsizei count, GLuint* names) {
    for (GLsizei i = 0; i < count; ++i)
        names[i] = RecordingGL::active().nextName++;
}

GLhandleARB createObject(GLenum) {
    return RecordingGL::active().nextName++;
}

GLhandleARB createProgramObject() {
    return RecordingGL::active().nextName++;
}

GLenum checkFramebufferStatus(GLenum) {
    return RecordingGL::active().framebufferStatus;
}

void getObjectParameteriv(GLhandleARB, GLenum, GLint* value) {
    *value = 1;
}

} // namespace

RecordingGL::RecordingGL(IHostGL* real) : m_real(real), m_previous(g_active) {
    g_active = this;
    answers.GetString = &getString;
    answers.GetIntegerv = &getIntegerv;
    if (real)
        return;
    integers = {
        {GL_MAX_TEXTURE_UNITS_ARB, 4},
        {GL_MAX_LIGHTS, 8},
        {GL_MAX_CLIP_PLANES, 6},
    };
    answers.GetFloatv = &getFloatv;
    answers.GenTextures = &genNames;
    answers.GenFramebuffersEXT = &genNames;
    answers.GenRenderbuffersEXT = &genNames;
    answers.GenProgramsARB = &genNames;
    answers.CreateShaderObjectARB = &createObject;
    answers.CreateProgramObjectARB = &createProgramObject;
    answers.CheckFramebufferStatusEXT = &checkFramebufferStatus;
    answers.GetObjectParameterivARB = &getObjectParameteriv;
}

RecordingGL::~RecordingGL() {
    g_active = m_previous;
}

RecordingGL& RecordingGL::active() {
    return *g_active;
}

const char* RecordingGL::visibleExtensions() {
    const char* list = real.GetString ? reinterpret_cast<const char*>(real.GetString(GL_EXTENSIONS))
                                      : extensionList.c_str();
    std::istringstream names(list ? list : "");
    m_visibleExtensions.clear();
    for (std::string name; names >> name;) {
        if (hiddenExtensions.count(name) == 0)
            m_visibleExtensions += name + " ";
    }
    return m_visibleExtensions.c_str();
}

void RecordingGL::log(const std::string& line) {
    if (recording)
        calls.push_back(line);
}

size_t RecordingGL::count(const std::string& call) const {
    size_t n = 0;
    for (const std::string& made : calls)
        n += made == call ? 1 : 0;
    return n;
}

std::vector<std::string> RecordingGL::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& made : calls) {
        if (made.compare(0, prefix.size(), prefix) == 0)
            found.push_back(made);
    }
    return found;
}

int32_t RecordingGL::choosePixelFormat(const HostGLPixelFormat& wanted) {
    log("choosePixelFormat " + std::to_string(wanted.colorBits) + " " +
        std::to_string(wanted.alphaBits) + " " + std::to_string(wanted.depthBits) + " " +
        std::to_string(wanted.stencilBits) + " " + std::to_string(wanted.samples));
    if (m_real)
        return m_real->choosePixelFormat(wanted);
    if (acceptsFormat && !acceptsFormat(wanted))
        return 0;
    HostGLPixelFormat given = wanted;
    given.redBits = wanted.colorBits >= 24 ? 8 : 5;
    m_formats.push_back(given);
    return int32_t(m_formats.size());
}

bool RecordingGL::describePixelFormat(int32_t format, HostGLPixelFormat& described) const {
    if (m_real)
        return m_real->describePixelFormat(format, described);
    if (format <= 0 || size_t(format) > m_formats.size())
        return false;
    described = m_formats[size_t(format - 1)];
    return true;
}

bool RecordingGL::setPixelFormat(HostWindow window, int32_t format) {
    log("setPixelFormat " + std::to_string(format));
    if (m_real)
        return m_real->setPixelFormat(window, format);
    return format > 0 && size_t(format) <= m_formats.size();
}

HostGLContext RecordingGL::createContext(HostWindow window) {
    log("createContext");
    if (m_real)
        return m_real->createContext(window);
    return refuseContext ? kNoHostGLContext : m_nextContext++;
}

bool RecordingGL::makeCurrent(HostWindow window, HostGLContext context) {
    return m_real ? m_real->makeCurrent(window, context) : true;
}

bool RecordingGL::deleteContext(HostGLContext context) {
    return m_real ? m_real->deleteContext(context) : context != kNoHostGLContext;
}

bool RecordingGL::swapBuffers(HostWindow window) {
    log("swapBuffers");
    return m_real ? m_real->swapBuffers(window) : true;
}

bool RecordingGL::setSwapInterval(int32_t interval) {
    log("setSwapInterval " + std::to_string(interval));
    return m_real ? m_real->setSwapInterval(interval) : !refuseSwapInterval;
}

bool RecordingGL::describeRenderer(CString& renderer, CString& versionText) {
    if (m_real)
        return m_real->describeRenderer(renderer, versionText);
    renderer = "Recording";
    versionText = version.c_str();
    return true;
}

void* RecordingGL::getProcAddress(const char* name) {
    // The real table is read once a real context is current: the stand-ins pass calls to it.
    if (m_real && !real.GetString)
        real.load(*m_real);
    const char* versionText =
        m_real ? reinterpret_cast<const char*>(real.GetString(GL_VERSION)) : version.c_str();
    if (!isGLFunctionOffered(name, parseGLVersion(versionText), visibleExtensions()))
        return nullptr;
    if (m_real && !m_real->getProcAddress(name))
        return nullptr;
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.name, name) == 0)
            return entry.standIn;
    }
    return nullptr;
}
