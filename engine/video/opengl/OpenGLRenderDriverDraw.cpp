#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/platform/host/GLFunctions.h"
#include "engine/video/LineEndPoint.h"
#include "engine/video/opengl/OpenGLDriverTexture.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

// The drawing operations: primitives from client-side arrays, direct 2D images and flat
// shapes, and stencil shadows.

namespace {

// The GL primitive and how many vertices or indices a primitive count takes.
struct PrimitiveMapping {
    GLenum mode;
    uint32_t count;
};

PrimitiveMapping mappingOf(uint32_t primitiveType, uint32_t n) {
    switch (primitiveType) {
    case PRIMITIVE_POINTS:
    case PRIMITIVE_POINT_SPRITES:
        return {GL_POINTS, n};
    case PRIMITIVE_LINE_STRIP:
        return {GL_LINE_STRIP, n + 1};
    case PRIMITIVE_LINE_LOOP:
        return {GL_LINE_LOOP, n};
    case PRIMITIVE_LINES:
        return {GL_LINES, 2 * n};
    case PRIMITIVE_TRIANGLE_STRIP:
        return {GL_TRIANGLE_STRIP, n + 2};
    case PRIMITIVE_TRIANGLE_FAN:
        return {GL_TRIANGLE_FAN, n + 2};
    case PRIMITIVE_QUAD_STRIP:
        return {GL_QUAD_STRIP, 2 * n + 2};
    case PRIMITIVE_QUADS:
        return {GL_QUADS, 4 * n};
    case PRIMITIVE_POLYGON:
        return {GL_POLYGON, n};
    default:
        return {GL_TRIANGLES, 3 * n};
    }
}

void color(const GLFunctions& gl, CColor c) {
    gl.Color4ub(GLubyte(c.getRed()), GLubyte(c.getGreen()), GLubyte(c.getBlue()),
                GLubyte(c.getAlpha()));
}

bool hasVertexAlpha(const CColor* colors, int count) {
    for (int i = 0; i < count; ++i) {
        if (colors[i].getAlpha() < 255)
            return true;
    }
    return false;
}

// Offsets into the caller's vertices, or into its bound buffer when there are none.
const void* at(const uint8_t* base, size_t offset) {
    return reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(base) + offset);
}

bool isInverted(const CPixelRect& rect) {
    return rect.right < rect.left || rect.bottom < rect.top;
}

// Cuts the span [at, at + length) to [low, high), moving the source's start along.
void cutAxis(int32_t low, int32_t high, int32_t& at, int32_t& sourceStart, int32_t& length) {
    if (at < low) {
        const int32_t overhang = low - at;
        length -= overhang;
        sourceStart += overhang;
        at = low;
    }
    if (at + length > high)
        length = high - at;
}

// Cuts the rectangle (x, y, width, height) to the bounds, moving the source's left and top
// edges along.
void cutToBounds(const CPixelRect& bounds, CPixelPoint& at, CPixelRect& source, int32_t& width,
                 int32_t& height) {
    cutAxis(bounds.left, bounds.right, at.x, source.left, width);
    cutAxis(bounds.top, bounds.bottom, at.y, source.top, height);
}

} // namespace

void COpenGLRenderDriver::drawPrimitives(const void* vertices, uint32_t vertexCount,
                                         const void* indices, uint32_t primitiveCount,
                                         uint32_t vertexType, uint32_t indexType,
                                         uint32_t primitiveType) {
    if (primitiveCount == 0 || vertexCount == 0 || !checkPrimitiveCount(primitiveCount))
        return;
    CNullRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount, vertexType,
                                      indexType, primitiveType);
    if (vertices)
        convertVertexColors(vertices, vertexCount, vertexType);
    if (m_renderMode == RENDER_MODE_3D)
        setRenderStates3D();
    else
        setRenderStates2D();
    drawClientArrays(vertices, indices, primitiveCount, vertexType, indexType, primitiveType);
}

// GL takes colours as red, green, blue, alpha bytes; the vertices hold ARGB words.
void COpenGLRenderDriver::convertVertexColors(const void* vertices, uint32_t vertexCount,
                                              uint32_t vertexType) {
    const uint32_t needed = vertexCount * 4;
    if (m_colorBuffer.allocated() < needed)
        m_colorBuffer.reallocate(needed);
    const uint32_t stride = vertexStrideOf(vertexType);
    const size_t offset = vertexType == VERTEX_TYPE_STANDARD ? offsetof(CVertex, color)
                                                             : offsetof(CVertexNormal, color);
    const auto* source = static_cast<const uint8_t*>(vertices) + offset;
    uint8_t* target = m_colorBuffer.data();
    for (uint32_t i = 0; i < vertexCount; ++i, source += stride, target += 4) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
        target[3] = source[3];
    }
}

void COpenGLRenderDriver::drawClientArrays(const void* vertices, const void* indices,
                                           uint32_t primitiveCount, uint32_t vertexType,
                                           uint32_t indexType, uint32_t primitiveType) {
    const GLFunctions& gl = *m_gl;
    const bool points =
        primitiveType == PRIMITIVE_POINTS || primitiveType == PRIMITIVE_POINT_SPRITES;
    const bool multitexture = m_extensions.hasMultitexture();
    const GLsizei stride = GLsizei(vertexStrideOf(vertexType));
    // Without vertices the offsets are taken in the vertex-buffer object the caller bound.
    const auto* base = static_cast<const uint8_t*>(vertices);
    if (multitexture)
        gl.ClientActiveTextureARB(GL_TEXTURE0_ARB);
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.VertexPointer(3, GL_FLOAT, stride, at(base, 0));
    if (vertices) {
        gl.EnableClientState(GL_COLOR_ARRAY);
        gl.ColorPointer(4, GL_UNSIGNED_BYTE, 0, m_colorBuffer.data());
    }
    const size_t texCoordOffset = vertexType == VERTEX_TYPE_STANDARD
                                      ? offsetof(CVertex, texCoord)
                                      : offsetof(CVertexNormal, texCoord);
    bool stage1 = false;
    bool stage2 = false;
    if (!points) {
        gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.TexCoordPointer(2, GL_FLOAT, stride, at(base, texCoordOffset));
        if (vertexType != VERTEX_TYPE_STANDARD) {
            gl.EnableClientState(GL_NORMAL_ARRAY);
            gl.NormalPointer(GL_FLOAT, stride, at(base, offsetof(CVertexNormal, normal)));
        }
    }
    if (!points && multitexture) {
        if (vertexType == VERTEX_TYPE_TWO_COORDS || vertexType == VERTEX_TYPE_TANGENTS ||
            m_boundTextures[1]) {
            stage1 = true;
            gl.ClientActiveTextureARB(GL_TEXTURE1_ARB);
            gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
            if (vertexType == VERTEX_TYPE_TWO_COORDS)
                gl.TexCoordPointer(2, GL_FLOAT, stride,
                                   at(base, offsetof(CVertexTwoCoords, texCoord2)));
            else if (vertexType == VERTEX_TYPE_TANGENTS)
                gl.TexCoordPointer(3, GL_FLOAT, stride,
                                   at(base, offsetof(CVertexTangents, tangent)));
            else
                gl.TexCoordPointer(2, GL_FLOAT, stride, at(base, texCoordOffset));
        }
        if (vertexType == VERTEX_TYPE_TANGENTS) {
            stage2 = true;
            gl.ClientActiveTextureARB(GL_TEXTURE2_ARB);
            gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.TexCoordPointer(3, GL_FLOAT, stride, at(base, offsetof(CVertexTangents, binormal)));
        }
    }
    const PrimitiveMapping mapping = mappingOf(primitiveType, primitiveCount);
    if (points)
        setPointStates(primitiveType == PRIMITIVE_POINT_SPRITES, true);
    // Points too take the vertices their indices name, as every driver draws them.
    if (indices) {
        gl.DrawElements(mapping.mode, GLsizei(mapping.count),
                        indexType == INDEX_TYPE_16_BIT ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                        indices);
    } else {
        gl.DrawArrays(mapping.mode, 0, GLsizei(mapping.count));
    }
    if (points)
        setPointStates(primitiveType == PRIMITIVE_POINT_SPRITES, false);
    if (stage2) {
        gl.ClientActiveTextureARB(GL_TEXTURE2_ARB);
        gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (stage1) {
        gl.ClientActiveTextureARB(GL_TEXTURE1_ARB);
        gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (multitexture)
        gl.ClientActiveTextureARB(GL_TEXTURE0_ARB);
    gl.DisableClientState(GL_COLOR_ARRAY);
    gl.DisableClientState(GL_VERTEX_ARRAY);
    gl.DisableClientState(GL_NORMAL_ARRAY);
    gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
}

// Points keep the material's size at every distance: the size range is that one size.
void COpenGLRenderDriver::setPointStates(bool sprites, bool on) {
    const GLFunctions& gl = *m_gl;
    if (on) {
        const float* range = m_extensions.getAliasedPointSizeRange();
        const float size = std::clamp(m_currentMaterial.thickness, range[0], range[1]);
        gl.PointSize(size);
        if (gl.PointParameterfvARB && gl.PointParameterfARB) {
            const GLfloat attenuation[3] = {1.0f, 1.0f, 0.0f};
            gl.PointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
            gl.PointParameterfARB(GL_POINT_SIZE_MIN_ARB, size);
            gl.PointParameterfARB(GL_POINT_SIZE_MAX_ARB, size);
        }
    }
    if (sprites && m_extensions.has(GL_EXTENSION_ARB_POINT_SPRITE)) {
        gl.TexEnvi(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, on ? GL_TRUE : GL_FALSE);
        if (on)
            gl.Enable(GL_POINT_SPRITE_ARB);
        else
            gl.Disable(GL_POINT_SPRITE_ARB);
    }
}

bool COpenGLRenderDriver::setRenderStates2DDirect(bool vertexAlpha, IDriverTexture* texture,
                                                  bool alphaChannel, bool filtered) {
    const GLFunctions& gl = *m_gl;
    if (m_renderMode != RENDER_MODE_2D_DIRECT || m_transformChanged) {
        leaveMaterialMode();
        loadOrthoProjection();
        gl.MatrixMode(GL_MODELVIEW);
        gl.LoadIdentity();
        selectTextureStage(0);
        gl.MatrixMode(GL_TEXTURE);
        gl.LoadIdentity();
        m_transformChanged = false;
        gl.Disable(GL_DEPTH_TEST);
        gl.Disable(GL_FOG);
        gl.Disable(GL_LIGHTING);
        gl.Disable(GL_TEXTURE_GEN_S);
        gl.Disable(GL_TEXTURE_GEN_T);
        gl.Disable(GL_ALPHA_TEST);
        gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        gl.CullFace(GL_BACK);
        m_renderMode = RENDER_MODE_2D_DIRECT;
        m_resetAllStates = true;
    }
    gl.Disable(GL_ALPHA_TEST);
    if (!texture) {
        unbindTexturesFrom(0);
        gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    } else {
        // The texture goes first: the filters and wrapping below belong to it.
        unbindTexturesFrom(1);
        if (!bindTexture(0, texture))
            return false;
        const GLint filter = filtered ? GL_LINEAR : GL_NEAREST;
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        if (alphaChannel || vertexAlpha) {
            gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
            gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
            gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_TEXTURE);
            gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_PRIMARY_COLOR_ARB);
            if (alphaChannel && vertexAlpha) {
                gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GL_MODULATE);
                gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB, GL_TEXTURE);
                gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA_ARB, GL_PRIMARY_COLOR_ARB);
            } else {
                gl.TexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GL_REPLACE);
                gl.TexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB,
                           alphaChannel ? GL_TEXTURE : GL_PRIMARY_COLOR_ARB);
            }
        } else {
            gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        }
    }
    if (vertexAlpha || (texture && alphaChannel)) {
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl.Enable(GL_BLEND);
    } else {
        gl.Disable(GL_BLEND);
    }
    return true;
}

// A clip cuts the drawing by the scissor test; an inverted clip leaves nothing to draw.
bool COpenGLRenderDriver::scissorTo(const CPixelRect* clip) {
    if (!clip)
        return true;
    if (isInverted(*clip))
        return false;
    m_gl->Enable(GL_SCISSOR_TEST);
    m_gl->Scissor(clip->left, int32_t(getRenderTargetSize().height) - clip->bottom,
                  clip->right - clip->left, clip->bottom - clip->top);
    return true;
}

// One quad over the destination, corners top-left, top-right, bottom-right, bottom-left, as a
// fan from the top-left corner: its colours meet along the diagonal from top-left to
// bottom-right, as on the Direct3D drivers. Texture coordinates are texels over the storage
// size, so padding stays outside.
void COpenGLRenderDriver::drawTexturedQuad(const CPixelRect& destination, IDriverTexture* texture,
                                           float left, float top, float right, float bottom,
                                           const CColor* colors) {
    const GLFunctions& gl = *m_gl;
    const CPixelSize storage = texture->getSize();
    const float u0 = left / float(storage.width);
    const float u1 = right / float(storage.width);
    float v0 = top / float(storage.height);
    float v1 = bottom / float(storage.height);
    if (texture->isRenderTarget()) {
        v0 = 1.0f - v0;
        v1 = 1.0f - v1;
    }
    gl.Begin(GL_TRIANGLE_FAN);
    color(gl, colors[0]);
    gl.TexCoord2f(u0, v0);
    gl.Vertex2i(destination.left, destination.top);
    color(gl, colors[1]);
    gl.TexCoord2f(u1, v0);
    gl.Vertex2i(destination.right, destination.top);
    color(gl, colors[2]);
    gl.TexCoord2f(u1, v1);
    gl.Vertex2i(destination.right, destination.bottom);
    color(gl, colors[3]);
    gl.TexCoord2f(u0, v1);
    gl.Vertex2i(destination.left, destination.bottom);
    gl.End();
}

void COpenGLRenderDriver::drawImagePart(IDriverTexture* texture, CPixelPoint position,
                                        const CPixelRect& source, const CPixelRect* clip,
                                        CColor color, bool useAlphaChannel) {
    if (!texture || isInverted(source))
        return;
    CPixelRect part = source;
    int32_t width = source.right - source.left;
    int32_t height = source.bottom - source.top;
    if (clip)
        cutToBounds(*clip, position, part, width, height);
    const CPixelSize target = getRenderTargetSize();
    cutToBounds({0, 0, int32_t(target.width), int32_t(target.height)}, position, part, width,
                height);
    if (width <= 0 || height <= 0)
        return;
    if (!setRenderStates2DDirect(color.getAlpha() < 255, texture, useAlphaChannel, false))
        return;
    const CColor colors[4] = {color, color, color, color};
    drawTexturedQuad({position.x, position.y, position.x + width, position.y + height}, texture,
                     float(part.left), float(part.top), float(part.left + width),
                     float(part.top + height), colors);
}

void COpenGLRenderDriver::drawImageScaled(IDriverTexture* texture, const CPixelRect& destination,
                                          const CPixelRect& source, const CPixelRect* clip,
                                          const CColor* cornerColors, bool useAlphaChannel) {
    if (!texture)
        return;
    const CColor white(0xFFFFFFFF);
    // Given as top-left, bottom-left, bottom-right, top-right; drawn clockwise from top-left.
    const CColor colors[4] = {
        cornerColors ? cornerColors[0] : white, cornerColors ? cornerColors[3] : white,
        cornerColors ? cornerColors[2] : white, cornerColors ? cornerColors[1] : white};
    if (!setRenderStates2DDirect(hasVertexAlpha(colors, 4), texture, useAlphaChannel, true) ||
        !scissorTo(clip))
        return;
    drawTexturedQuad(destination, texture, float(source.left), float(source.top),
                     float(source.right), float(source.bottom), colors);
    if (clip)
        m_gl->Disable(GL_SCISSOR_TEST);
}

void COpenGLRenderDriver::drawImageRunClipped(IDriverTexture* texture, CPixelPoint position,
                                              const CArray<CPixelRect>& sourceRects,
                                              const CArray<int32_t>& indices,
                                              const CPixelRect* clip, CColor color,
                                              bool useAlphaChannel) {
    if (!texture ||
        !setRenderStates2DDirect(color.getAlpha() < 255, texture, useAlphaChannel, false) ||
        !scissorTo(clip))
        return;
    const CColor colors[4] = {color, color, color, color};
    for (const int32_t index : indices) {
        if (index < 0 || uint32_t(index) >= sourceRects.size())
            continue;
        const CPixelRect& source = sourceRects[uint32_t(index)];
        if (isInverted(source))
            break;
        const int32_t width = source.right - source.left;
        drawTexturedQuad(
            {position.x, position.y, position.x + width, position.y + source.bottom - source.top},
            texture, float(source.left), float(source.top), float(source.right),
            float(source.bottom), colors);
        position.x += width;
    }
    if (clip)
        m_gl->Disable(GL_SCISSOR_TEST);
}

// A fan from the top-left corner, as drawTexturedQuad.
void COpenGLRenderDriver::drawFlatQuad(const CPixelRect& rect, const CColor (&colors)[4]) {
    const GLFunctions& gl = *m_gl;
    setRenderStates2D();
    unbindTexturesFrom(0);
    gl.Begin(GL_TRIANGLE_FAN);
    color(gl, colors[0]);
    gl.Vertex2i(rect.left, rect.top);
    color(gl, colors[1]);
    gl.Vertex2i(rect.right, rect.top);
    color(gl, colors[2]);
    gl.Vertex2i(rect.right, rect.bottom);
    color(gl, colors[3]);
    gl.Vertex2i(rect.left, rect.bottom);
    gl.End();
}

void COpenGLRenderDriver::drawRectGradient(const CPixelRect& rect, CColor topLeft, CColor topRight,
                                           CColor bottomLeft, CColor bottomRight,
                                           const CPixelRect* clip) {
    CPixelRect cut = rect;
    if (clip) {
        cut.left = std::max(cut.left, clip->left);
        cut.top = std::max(cut.top, clip->top);
        cut.right = std::max(std::min(cut.right, clip->right), cut.left);
        cut.bottom = std::max(std::min(cut.bottom, clip->bottom), cut.top);
    } else if (isInverted(cut)) {
        return;
    }
    drawFlatQuad(cut, {topLeft, topRight, bottomRight, bottomLeft});
}

// Points and lines go through pixel centres, so that they light the pixels they name rather
// than the rasteriser's pick among the neighbours of a corner.
void COpenGLRenderDriver::drawLine2D(CVector2d start, CVector2d end, CColor lineColor) {
    const GLFunctions& gl = *m_gl;
    setRenderStates2D();
    unbindTexturesFrom(0);
    const CVector2d from = lineEndPoint(start);
    const CVector2d to = lineEndPoint(end);
    gl.Begin(GL_LINES);
    color(gl, lineColor);
    gl.Vertex2f(from.x, from.y);
    gl.Vertex2f(to.x, to.y);
    gl.End();
}

void COpenGLRenderDriver::plotPixel(uint32_t x, uint32_t y, CColor pixelColor) {
    const CPixelSize target = getRenderTargetSize();
    if (x > target.width || y > target.height)
        return;
    const GLFunctions& gl = *m_gl;
    setRenderStates2D();
    unbindTexturesFrom(0);
    gl.Begin(GL_POINTS);
    color(gl, pixelColor);
    gl.Vertex2f(float(x) + 0.5f, float(y) + 0.5f);
    gl.End();
}

void COpenGLRenderDriver::drawStencilShadowVolume(const CVector3d* triangles, uint32_t vertexCount,
                                                  bool depthFail) {
    if (!m_extensions.hasStencilBuffer() || vertexCount == 0)
        return;
    const GLFunctions& gl = *m_gl;
    if (m_renderMode == RENDER_MODE_3D) {
        if (IMaterialPass* pass = getMaterialPass(m_currentMaterial.type))
            pass->restoreStates();
        m_resetAllStates = true;
    }
    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT |
                  GL_STENCIL_BUFFER_BIT);
    gl.Disable(GL_LIGHTING);
    gl.Disable(GL_FOG);
    gl.DepthFunc(GL_LEQUAL);
    gl.DepthMask(GL_FALSE);
    gl.ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    gl.Enable(GL_STENCIL_TEST);
    gl.Enable(GL_POLYGON_OFFSET_FILL);
    gl.PolygonOffset(0.0f, 1.0f);
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.VertexPointer(3, GL_FLOAT, sizeof(CVector3d), triangles);
    gl.StencilMask(~0u);
    gl.StencilFunc(GL_ALWAYS, 0, ~0u);
    gl.Enable(GL_CULL_FACE);
    const bool wrap = m_extensions.has(GL_EXTENSION_EXT_STENCIL_WRAP);
    const GLenum increment = wrap ? GL_INCR_WRAP_EXT : GL_INCR;
    const GLenum decrement = wrap ? GL_DECR_WRAP_EXT : GL_DECR;
    if (depthFail) {
        gl.CullFace(GL_FRONT);
        gl.StencilOp(GL_KEEP, increment, GL_KEEP);
        gl.DrawArrays(GL_TRIANGLES, 0, GLsizei(vertexCount));
        gl.CullFace(GL_BACK);
        gl.StencilOp(GL_KEEP, decrement, GL_KEEP);
        gl.DrawArrays(GL_TRIANGLES, 0, GLsizei(vertexCount));
    } else {
        gl.CullFace(GL_BACK);
        gl.StencilOp(GL_KEEP, GL_KEEP, increment);
        gl.DrawArrays(GL_TRIANGLES, 0, GLsizei(vertexCount));
        gl.CullFace(GL_FRONT);
        gl.StencilOp(GL_KEEP, GL_KEEP, decrement);
        gl.DrawArrays(GL_TRIANGLES, 0, GLsizei(vertexCount));
    }
    gl.DisableClientState(GL_VERTEX_ARRAY);
    gl.PopAttrib();
}

void COpenGLRenderDriver::drawStencilShadow(bool clearStencilBuffer, CColor topLeft,
                                            CColor topRight, CColor bottomLeft,
                                            CColor bottomRight) {
    if (!m_extensions.hasStencilBuffer())
        return;
    const GLFunctions& gl = *m_gl;
    unbindTexturesFrom(0);
    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT |
                  GL_STENCIL_BUFFER_BIT | GL_LIGHTING_BIT);
    gl.Disable(GL_LIGHTING);
    gl.Disable(GL_FOG);
    gl.DepthMask(GL_FALSE);
    gl.ShadeModel(GL_FLAT);
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.Enable(GL_STENCIL_TEST);
    gl.StencilFunc(GL_NOTEQUAL, 0, ~0u);
    gl.StencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    gl.MatrixMode(GL_MODELVIEW);
    gl.PushMatrix();
    gl.LoadIdentity();
    gl.Begin(GL_QUADS);
    color(gl, bottomLeft);
    gl.Vertex3f(-1.1f, -1.1f, 0.9f);
    color(gl, topLeft);
    gl.Vertex3f(-1.1f, 1.1f, 0.9f);
    color(gl, topRight);
    gl.Vertex3f(1.1f, 1.1f, 0.9f);
    color(gl, bottomRight);
    gl.Vertex3f(1.1f, -1.1f, 0.9f);
    gl.End();
    if (clearStencilBuffer)
        gl.Clear(GL_STENCIL_BUFFER_BIT);
    gl.PopMatrix();
    gl.PopAttrib();
}
