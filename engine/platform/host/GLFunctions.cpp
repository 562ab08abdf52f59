#include "engine/platform/host/GLFunctions.h"

#include <cmath>
#include <cstring>

#include "engine/core/StringFunctions.h"
#include "engine/platform/host/IHostGL.h"

namespace {

struct Requirement {
    const char* name;
    uint32_t version;
    const char* extension;
    const char* otherExtension;
};

#define VANTOR_GL_CORE_REQUIREMENT(name) {"gl" #name, 100, nullptr, nullptr},
#define VANTOR_GL_EXTENSION_REQUIREMENT(name, version, extension, other)                           \
    {"gl" #name, version, extension, other},
constexpr Requirement kRequirements[] = {VANTOR_GL_CORE_FUNCTIONS(
    VANTOR_GL_CORE_REQUIREMENT) VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_EXTENSION_REQUIREMENT)};
#undef VANTOR_GL_CORE_REQUIREMENT
#undef VANTOR_GL_EXTENSION_REQUIREMENT

template <typename Function>
void loadEntry(IHostGL& gl, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(gl.getProcAddress(name));
}

} // namespace

bool GLFunctions::load(IHostGL& gl, const char** missing) {
    const char* firstMissing = nullptr;
#define VANTOR_GL_LOAD_CORE(name)                                                                  \
    loadEntry(gl, "gl" #name, name);                                                               \
    if (!name && !firstMissing)                                                                    \
        firstMissing = "gl" #name;
#define VANTOR_GL_LOAD_EXTENSION(name, ...) loadEntry(gl, "gl" #name, name);
    VANTOR_GL_CORE_FUNCTIONS(VANTOR_GL_LOAD_CORE)
    VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_LOAD_EXTENSION)
#undef VANTOR_GL_LOAD_CORE
#undef VANTOR_GL_LOAD_EXTENSION
    if (missing)
        *missing = firstMissing;
    return firstMissing == nullptr;
}

void GLFunctions::clearErrors() const {
    // An implementation keeps at most one error per kind; a few rounds take them all.
    for (int i = 0; i < 16 && GetError() != GL_NO_ERROR; ++i) {
    }
}

uint32_t parseGLVersion(const char* text) {
    float value = 0;
    parseFloat(text, value);
    if (!(value > 0))
        return 0;
    const float major = std::floor(value);
    const float minor = std::floor((value - major) * 10.0f + 0.5f);
    return uint32_t(major) * 100 + uint32_t(minor);
}

bool hasGLExtension(const char* extensions, const char* name) {
    if (!extensions || !name || !*name)
        return false;
    const size_t length = std::strlen(name);
    for (const char* at = extensions; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool startsWord = at == extensions || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool isGLFunctionOffered(const char* name, uint32_t version, const char* extensions) {
    for (const Requirement& requirement : kRequirements) {
        if (std::strcmp(requirement.name, name) != 0)
            continue;
        return (requirement.version != 0 && version >= requirement.version) ||
               hasGLExtension(extensions, requirement.extension) ||
               hasGLExtension(extensions, requirement.otherExtension);
    }
    return false;
}
