#pragma once

// The GL function table: every GL entry point the engine calls, as pointers loaded from the GL
// facet. Only code that draws with GL includes this header (it brings in the system's GL
// headers for the types and constants); engine headers that others include never do.
//
// Calls read gl.Clear(GL_COLOR_BUFFER_BIT). Tests put recording stand-ins into a table.
//
// Declarations only: nothing calls the system library's functions directly.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

class IHostGL;

// GL 1.1: every context has these. X(name) for glName.
#define VANTOR_GL_CORE_FUNCTIONS(X)                                                                \
    X(AlphaFunc)                                                                                   \
    X(Begin)                                                                                       \
    X(BindTexture)                                                                                 \
    X(BlendFunc)                                                                                   \
    X(Clear)                                                                                       \
    X(ClearColor)                                                                                  \
    X(ClearDepth)                                                                                  \
    X(ClearStencil)                                                                                \
    X(ClipPlane)                                                                                   \
    X(Color4f)                                                                                     \
    X(Color4ub)                                                                                    \
    X(ColorMask)                                                                                   \
    X(ColorMaterial)                                                                               \
    X(ColorPointer)                                                                                \
    X(CopyTexImage2D)                                                                              \
    X(CopyTexSubImage2D)                                                                           \
    X(CullFace)                                                                                    \
    X(DeleteTextures)                                                                              \
    X(DepthFunc)                                                                                   \
    X(DepthMask)                                                                                   \
    X(DepthRange)                                                                                  \
    X(Disable)                                                                                     \
    X(DisableClientState)                                                                          \
    X(DrawArrays)                                                                                  \
    X(DrawBuffer)                                                                                  \
    X(DrawElements)                                                                                \
    X(Enable)                                                                                      \
    X(EnableClientState)                                                                           \
    X(End)                                                                                         \
    X(Finish)                                                                                      \
    X(Flush)                                                                                       \
    X(Fogf)                                                                                        \
    X(Fogfv)                                                                                       \
    X(Fogi)                                                                                        \
    X(FrontFace)                                                                                   \
    X(GenTextures)                                                                                 \
    X(GetBooleanv)                                                                                 \
    X(GetError)                                                                                    \
    X(GetFloatv)                                                                                   \
    X(GetIntegerv)                                                                                 \
    X(GetString)                                                                                   \
    X(GetTexImage)                                                                                 \
    X(GetTexLevelParameteriv)                                                                      \
    X(Hint)                                                                                        \
    X(IsEnabled)                                                                                   \
    X(LightModelfv)                                                                                \
    X(LightModeli)                                                                                 \
    X(Lightf)                                                                                      \
    X(Lightfv)                                                                                     \
    X(LineWidth)                                                                                   \
    X(LoadIdentity)                                                                                \
    X(LoadMatrixf)                                                                                 \
    X(Materialf)                                                                                   \
    X(Materialfv)                                                                                  \
    X(MatrixMode)                                                                                  \
    X(MultMatrixf)                                                                                 \
    X(Normal3f)                                                                                    \
    X(NormalPointer)                                                                               \
    X(PixelStorei)                                                                                 \
    X(PointSize)                                                                                   \
    X(PolygonMode)                                                                                 \
    X(PolygonOffset)                                                                               \
    X(PopAttrib)                                                                                   \
    X(PopMatrix)                                                                                   \
    X(PushAttrib)                                                                                  \
    X(PushMatrix)                                                                                  \
    X(ReadBuffer)                                                                                  \
    X(ReadPixels)                                                                                  \
    X(Scissor)                                                                                     \
    X(ShadeModel)                                                                                  \
    X(StencilFunc)                                                                                 \
    X(StencilMask)                                                                                 \
    X(StencilOp)                                                                                   \
    X(TexCoord2f)                                                                                  \
    X(TexCoordPointer)                                                                             \
    X(TexEnvf)                                                                                     \
    X(TexEnvfv)                                                                                    \
    X(TexEnvi)                                                                                     \
    X(TexGeni)                                                                                     \
    X(TexImage2D)                                                                                  \
    X(TexParameterf)                                                                               \
    X(TexParameterfv)                                                                              \
    X(TexParameteri)                                                                               \
    X(TexSubImage2D)                                                                               \
    X(Translatef)                                                                                  \
    X(Vertex2f)                                                                                    \
    X(Vertex2i)                                                                                    \
    X(Vertex3f)                                                                                    \
    X(VertexPointer)                                                                               \
    X(Viewport)

// Functions of later versions and of extensions. X(name, version, extension, other extension):
// offered from that version (major x 100 + minor; 0 never) or with either extension.
#define VANTOR_GL_EXTENSION_FUNCTIONS(X)                                                           \
    X(ActiveTextureARB, 0, "GL_ARB_multitexture", nullptr)                                         \
    X(ClientActiveTextureARB, 0, "GL_ARB_multitexture", nullptr)                                   \
    X(MultiTexCoord2fARB, 0, "GL_ARB_multitexture", nullptr)                                       \
    X(GenProgramsARB, 0, "GL_ARB_vertex_program", "GL_ARB_fragment_program")                       \
    X(BindProgramARB, 0, "GL_ARB_vertex_program", "GL_ARB_fragment_program")                       \
    X(ProgramStringARB, 0, "GL_ARB_vertex_program", "GL_ARB_fragment_program")                     \
    X(DeleteProgramsARB, 0, "GL_ARB_vertex_program", "GL_ARB_fragment_program")                    \
    X(ProgramLocalParameter4fvARB, 0, "GL_ARB_vertex_program", "GL_ARB_fragment_program")          \
    X(CreateShaderObjectARB, 0, "GL_ARB_shader_objects", nullptr)                                  \
    X(ShaderSourceARB, 0, "GL_ARB_shader_objects", nullptr)                                        \
    X(CompileShaderARB, 0, "GL_ARB_shader_objects", nullptr)                                       \
    X(CreateProgramObjectARB, 0, "GL_ARB_shader_objects", nullptr)                                 \
    X(AttachObjectARB, 0, "GL_ARB_shader_objects", nullptr)                                        \
    X(LinkProgramARB, 0, "GL_ARB_shader_objects", nullptr)                                         \
    X(UseProgramObjectARB, 0, "GL_ARB_shader_objects", nullptr)                                    \
    X(DeleteObjectARB, 0, "GL_ARB_shader_objects", nullptr)                                        \
    X(GetInfoLogARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(GetObjectParameterivARB, 0, "GL_ARB_shader_objects", nullptr)                                \
    X(GetUniformLocationARB, 0, "GL_ARB_shader_objects", nullptr)                                  \
    X(Uniform4fvARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(Uniform1ivARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(Uniform1fvARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(Uniform2fvARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(Uniform3fvARB, 0, "GL_ARB_shader_objects", nullptr)                                          \
    X(UniformMatrix2fvARB, 0, "GL_ARB_shader_objects", nullptr)                                    \
    X(UniformMatrix3fvARB, 0, "GL_ARB_shader_objects", nullptr)                                    \
    X(UniformMatrix4fvARB, 0, "GL_ARB_shader_objects", nullptr)                                    \
    X(GetActiveUniformARB, 0, "GL_ARB_shader_objects", nullptr)                                    \
    X(PointParameterfARB, 0, "GL_ARB_point_parameters", nullptr)                                   \
    X(PointParameterfvARB, 0, "GL_ARB_point_parameters", nullptr)                                  \
    X(StencilFuncSeparate, 200, nullptr, nullptr)                                                  \
    X(StencilOpSeparate, 200, nullptr, nullptr)                                                    \
    X(StencilFuncSeparateATI, 0, "GL_ATI_separate_stencil", nullptr)                               \
    X(StencilOpSeparateATI, 0, "GL_ATI_separate_stencil", nullptr)                                 \
    X(CompressedTexImage2D, 130, nullptr, nullptr)                                                 \
    X(BindFramebufferEXT, 0, "GL_EXT_framebuffer_object", nullptr)                                 \
    X(DeleteFramebuffersEXT, 0, "GL_EXT_framebuffer_object", nullptr)                              \
    X(GenFramebuffersEXT, 0, "GL_EXT_framebuffer_object", nullptr)                                 \
    X(CheckFramebufferStatusEXT, 0, "GL_EXT_framebuffer_object", nullptr)                          \
    X(FramebufferTexture2DEXT, 0, "GL_EXT_framebuffer_object", nullptr)                            \
    X(BindRenderbufferEXT, 0, "GL_EXT_framebuffer_object", nullptr)                                \
    X(DeleteRenderbuffersEXT, 0, "GL_EXT_framebuffer_object", nullptr)                             \
    X(GenRenderbuffersEXT, 0, "GL_EXT_framebuffer_object", nullptr)                                \
    X(RenderbufferStorageEXT, 0, "GL_EXT_framebuffer_object", nullptr)                             \
    X(FramebufferRenderbufferEXT, 0, "GL_EXT_framebuffer_object", nullptr)                         \
    X(DrawBuffersARB, 0, "GL_ARB_draw_buffers", nullptr)                                           \
    X(DrawBuffersATI, 0, "GL_ATI_draw_buffers", nullptr)                                           \
    X(GenBuffersARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                    \
    X(BindBufferARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                    \
    X(BufferDataARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                    \
    X(DeleteBuffersARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                 \
    X(BufferSubDataARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                 \
    X(GetBufferSubDataARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                              \
    X(MapBufferARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                     \
    X(UnmapBufferARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                   \
    X(IsBufferARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                                      \
    X(GetBufferParameterivARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                          \
    X(GetBufferPointervARB, 0, "GL_ARB_vertex_buffer_object", nullptr)                             \
    X(ProvokingVertex, 320, nullptr, nullptr)                                                      \
    X(ProvokingVertexEXT, 0, "GL_EXT_provoking_vertex", nullptr)

struct GLFunctions {
#define VANTOR_GL_MEMBER(name, ...) decltype(&::gl##name) name = nullptr;
    VANTOR_GL_CORE_FUNCTIONS(VANTOR_GL_MEMBER)
    VANTOR_GL_EXTENSION_FUNCTIONS(VANTOR_GL_MEMBER)
#undef VANTOR_GL_MEMBER

    // Every entry point from the facet's current context; the ones it does not offer stay
    // null. False when a GL 1.1 function is missing; missing then names the first one.
    bool load(IHostGL& gl, const char** missing = nullptr);
    // Takes the pending errors, so that the next GetError tells about the calls after this.
    void clearErrors() const;
};

// Major x 100 + minor of a GL version text, whose number comes first: "1.2" gives 102,
// "2.1.2 NVIDIA" 201, "4.5 (Compatibility Profile) Mesa" 405.
uint32_t parseGLVersion(const char* text);

// Whether the name is one of the blank-separated names of the list, the last one included.
bool hasGLExtension(const char* extensions, const char* name);

// Whether the function ("glClear") is offered by a context of the version with the extensions:
// GL 1.1 functions always, the others from their version or with one of their extensions.
// False for names outside the table.
bool isGLFunctionOffered(const char* name, uint32_t version, const char* extensions);
