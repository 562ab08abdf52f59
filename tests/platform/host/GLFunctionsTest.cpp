#include "engine/platform/host/GLFunctions.h"

#include <gtest/gtest.h>

namespace {

TEST(GLFunctionsTest, VersionNumberComesFromTheLeadingNumber) {
    struct Case {
        const char* text;
        uint32_t version;
    };
    const Case cases[] = {
        {"1.1.0", 101},
        {"1.2", 102},
        {"2.1.2 NVIDIA 190.40", 201},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", 405},
        {"", 0},
        {"Mesa", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseGLVersion(c.text), c.version) << c.text;
    EXPECT_EQ(parseGLVersion(nullptr), 0u);
}

TEST(GLFunctionsTest, ExtensionNamesMatchWholeWordsIncludingTheLast) {
    const char* list = "GL_ARB_multitexture_extra GL_EXT_fog_coord GL_MESA_pack_invert";
    EXPECT_TRUE(hasGLExtension(list, "GL_EXT_fog_coord"));
    EXPECT_TRUE(hasGLExtension(list, "GL_MESA_pack_invert")) << "last name, no blank after it";
    EXPECT_FALSE(hasGLExtension(list, "GL_ARB_multitexture")) << "a prefix of another name";
    EXPECT_FALSE(hasGLExtension(list, "fog_coord"));
    EXPECT_FALSE(hasGLExtension(list, ""));
    EXPECT_FALSE(hasGLExtension(nullptr, "GL_EXT_fog_coord"));
}

TEST(GLFunctionsTest, FunctionsAreOfferedByVersionOrExtension) {
    struct Case {
        const char* name;
        uint32_t version;
        const char* extensions;
        bool offered;
    };
    const Case cases[] = {
        {"glClear", 100, "", true},
        {"glStencilFuncSeparate", 150, "", false},
        {"glStencilFuncSeparate", 200, "", true},
        {"glActiveTextureARB", 405, "", false},
        {"glActiveTextureARB", 101, "GL_ARB_multitexture", true},
        {"glGenProgramsARB", 101, "GL_ARB_fragment_program", true},
        {"glBindFramebufferEXT", 300, "GL_ARB_framebuffer_object", false},
        {"glFooBar", 405, "GL_ARB_multitexture", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isGLFunctionOffered(c.name, c.version, c.extensions), c.offered)
            << c.name << " " << c.version << " " << c.extensions;
}

} // namespace
