// The Direct3D drivers' drawing operations, all from system memory through the device's
// user-pointer draws.

#include <iterator>

#include "engine/video/LineEndPoint.h"
#include "engine/video/d3d/D3DDriverBase.h"

namespace {

constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

bool hasTranslucentColor(const CColor* colors, int count) {
    for (int i = 0; i < count; ++i) {
        if (colors[i].getAlpha() < 0xFF)
            return true;
    }
    return false;
}

CVertexNormal normalVertex(const CVector3d& position, CColor color, float u, float v) {
    CVertexNormal vertex;
    vertex.position = position;
    vertex.normal = CVector3d(0.0f, 0.0f, 0.0f);
    vertex.color = color;
    vertex.texCoord = CVector2d(u, v);
    return vertex;
}

CVertexNormal imageVertex(float x, float y, CColor color, float u, float v) {
    return normalVertex(CVector3d(x, y, 0.0f), color, u, v);
}

// Moves the target's edges inside the bounds; the source's left and top edges move along.
// False when nothing is left.
bool clipImagePart(CPixelRect& target, CPixelRect& source, const CPixelRect& bounds) {
    if (target.left < bounds.left) {
        source.left += bounds.left - target.left;
        target.left = bounds.left;
    }
    if (target.top < bounds.top) {
        source.top += bounds.top - target.top;
        target.top = bounds.top;
    }
    if (target.right > bounds.right)
        target.right = bounds.right;
    if (target.bottom > bounds.bottom)
        target.bottom = bounds.bottom;
    return target.right - target.left >= 1 && target.bottom - target.top >= 1;
}

// Corner colours upper left, lower left, lower right, upper right.
CColor colorAt(const CColor (&colors)[4], float x, float y) {
    // interpolate(other, t) weighs its own colour by t.
    const CColor top = colors[3].interpolate(colors[0], x);
    const CColor bottom = colors[2].interpolate(colors[1], x);
    return bottom.interpolate(top, y);
}

} // namespace

// Cuts the image's destination to the clip; its coordinates and corner colours follow the
// edges. False when nothing is left.
bool CD3DDriverBase::cutScaledImage(ScaledImage& image, const CPixelRect& clip) {
    const CPixelRect whole = image.destination;
    CPixelRect& d = image.destination;
    d.left = d.left > clip.left ? d.left : clip.left;
    d.top = d.top > clip.top ? d.top : clip.top;
    d.right = d.right < clip.right ? d.right : clip.right;
    d.bottom = d.bottom < clip.bottom ? d.bottom : clip.bottom;
    if (d.right <= d.left || d.bottom <= d.top || whole.right == whole.left ||
        whole.bottom == whole.top)
        return false;
    const auto fractionX = [&whole](int32_t x) {
        return float(x - whole.left) / float(whole.right - whole.left);
    };
    const auto fractionY = [&whole](int32_t y) {
        return float(y - whole.top) / float(whole.bottom - whole.top);
    };
    const float x0 = fractionX(d.left);
    const float x1 = fractionX(d.right);
    const float y0 = fractionY(d.top);
    const float y1 = fractionY(d.bottom);
    const float u[2] = {image.u[0], image.u[1]};
    const float v[2] = {image.v[0], image.v[1]};
    image.u[0] = u[0] + (u[1] - u[0]) * x0;
    image.u[1] = u[0] + (u[1] - u[0]) * x1;
    image.v[0] = v[0] + (v[1] - v[0]) * y0;
    image.v[1] = v[0] + (v[1] - v[0]) * y1;
    const CColor colors[4] = {image.colors[0], image.colors[1], image.colors[2], image.colors[3]};
    image.colors[0] = colorAt(colors, x0, y0);
    image.colors[1] = colorAt(colors, x0, y1);
    image.colors[2] = colorAt(colors, x1, y1);
    image.colors[3] = colorAt(colors, x1, y0);
    return true;
}

void CD3DDriverBase::drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                                    uint32_t primitiveCount, uint32_t vertexType,
                                    uint32_t indexType, uint32_t primitiveType) {
    if (!checkPrimitiveCount(primitiveCount))
        return;
    CNullRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount, vertexType,
                                      indexType, primitiveType);
    if (vertexCount == 0 || primitiveCount == 0 || !m_common)
        return;
    setVertexType(int32_t(vertexType));
    const uint32_t stride = vertexStrideOf(vertexType);
    const D3DFORMAT indexFormat = indexType == INDEX_TYPE_16_BIT ? D3DFMT_INDEX16 : D3DFMT_INDEX32;
    if (m_renderMode == RENDER_MODE_2D) {
        if (!setRenderStates2D())
            return;
    } else if (m_renderMode == RENDER_MODE_3D) {
        if (!setRenderStates3D())
            return;
    } else {
        return;
    }
    const auto draw = [&](D3DPRIMITIVETYPE type, uint32_t count) {
        drawIndexedOrNot(type, vertices, vertexCount, indices, indexFormat, count, stride);
    };
    switch (primitiveType) {
    case PRIMITIVE_POINTS:
    case PRIMITIVE_POINT_SPRITES:
        drawPoints(vertices, vertexCount, indices, indexFormat, primitiveCount, stride,
                   primitiveType == PRIMITIVE_POINT_SPRITES);
        break;
    case PRIMITIVE_LINE_STRIP:
        draw(D3DPT_LINESTRIP, primitiveCount);
        break;
    case PRIMITIVE_LINE_LOOP:
        drawLineLoop(vertices, vertexCount, indices, indexType, primitiveCount, stride);
        break;
    case PRIMITIVE_LINES:
        draw(D3DPT_LINELIST, primitiveCount);
        break;
    case PRIMITIVE_TRIANGLE_STRIP:
        draw(D3DPT_TRIANGLESTRIP, primitiveCount);
        break;
    case PRIMITIVE_TRIANGLE_FAN:
        draw(D3DPT_TRIANGLEFAN, primitiveCount);
        break;
    case PRIMITIVE_TRIANGLES:
        draw(D3DPT_TRIANGLELIST, primitiveCount);
        break;
    default:
        break;
    }
}

void CD3DDriverBase::drawIndexedOrNot(D3DPRIMITIVETYPE type, const void* vertices,
                                      uint32_t vertexCount, const void* indices,
                                      D3DFORMAT indexFormat, uint32_t primitiveCount,
                                      uint32_t stride) {
    if (indices)
        m_common->DrawIndexedPrimitiveUP(type, 0, vertexCount, primitiveCount, indices, indexFormat,
                                         vertices, stride);
    else
        m_common->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
}

// A loop of n vertices: the strip through them, then the line from the last back to the first.
void CD3DDriverBase::drawLineLoop(const void* vertices, uint32_t vertexCount, const void* indices,
                                  uint32_t indexType, uint32_t primitiveCount, uint32_t stride) {
    const uint32_t last = primitiveCount - 1;
    const bool wide = indexType != INDEX_TYPE_16_BIT;
    const D3DFORMAT indexFormat = wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    if (last > 0)
        drawIndexedOrNot(D3DPT_LINESTRIP, vertices, vertexCount, indices, indexFormat, last,
                         stride);
    uint32_t first = 0;
    uint32_t end = last;
    if (indices && wide) {
        first = static_cast<const uint32_t*>(indices)[0];
        end = static_cast<const uint32_t*>(indices)[last];
    } else if (indices) {
        first = static_cast<const uint16_t*>(indices)[0];
        end = static_cast<const uint16_t*>(indices)[last];
    }
    const uint32_t closing32[2] = {end, first};
    const uint16_t closing16[2] = {uint16_t(end), uint16_t(first)};
    m_common->DrawIndexedPrimitiveUP(D3DPT_LINELIST, 0, vertexCount, 1,
                                     wide ? static_cast<const void*>(closing32) : closing16,
                                     indexFormat, vertices, stride);
}

void CD3DDriverBase::drawPoints(const void* vertices, uint32_t vertexCount, const void* indices,
                                D3DFORMAT indexFormat, uint32_t primitiveCount, uint32_t stride,
                                bool sprites) {
    if (sprites)
        m_common->SetRenderState(D3DRS_POINTSPRITEENABLE, true);
    m_common->SetRenderState(D3DRS_POINTSCALEENABLE, true);
    m_common->SetRenderState(D3DRS_POINTSIZE, floatBits(m_currentMaterial.thickness));
    m_common->SetRenderState(D3DRS_POINTSCALE_A, floatBits(0.0f));
    m_common->SetRenderState(D3DRS_POINTSCALE_B, floatBits(0.0f));
    m_common->SetRenderState(D3DRS_POINTSCALE_C, floatBits(1.0f));
    m_common->SetRenderState(D3DRS_POINTSIZE_MIN, floatBits(0.0f));
    drawIndexedOrNot(D3DPT_POINTLIST, vertices, vertexCount, indices, indexFormat, primitiveCount,
                     stride);
    m_common->SetRenderState(D3DRS_POINTSCALEENABLE, false);
    if (sprites)
        m_common->SetRenderState(D3DRS_POINTSPRITEENABLE, false);
}

void CD3DDriverBase::drawQuad(const CVertexNormal (&quad)[4]) {
    m_common->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, kQuadIndices, D3DFMT_INDEX16,
                                     quad, sizeof(CVertexNormal));
}

void CD3DDriverBase::drawImageScaled(IDriverTexture* texture, const CPixelRect& destination,
                                     const CPixelRect& source, const CPixelRect* clip,
                                     const CColor* cornerColors, bool useAlphaChannel) {
    if (!texture || !m_common)
        return;
    // Coordinates over the storage, which may be larger than the image.
    const CPixelSize storage = texture->getSize();
    ScaledImage image{
        destination,
        {float(source.left) / float(storage.width), float(source.right) / float(storage.width)},
        {float(source.top) / float(storage.height), float(source.bottom) / float(storage.height)},
        {CColor(0xFFFFFFFF), CColor(0xFFFFFFFF), CColor(0xFFFFFFFF), CColor(0xFFFFFFFF)}};
    for (int i = 0; cornerColors && i < 4; ++i)
        image.colors[i] = cornerColors[i];
    const bool scissor = clip && m_traits.scissorScaledImages;
    if (clip && !scissor && !cutScaledImage(image, *clip))
        return;
    // Edges half a pixel up and left, on the pixels' corners, as the 2D projection puts them:
    // each pixel then samples the texture at its centre, not on the texels' borders.
    const CPixelSize target = getRenderTargetSize();
    const auto clipX = [&target](int32_t x) {
        return (float(x) - 0.5f) * 2.0f / float(target.width) - 1;
    };
    const auto clipY = [&target](int32_t y) {
        return 1 - (float(y) - 0.5f) * 2.0f / float(target.height);
    };
    const CPixelRect& d = image.destination;
    const CVertexNormal quad[4] = {
        imageVertex(clipX(d.left), clipY(d.top), image.colors[0], image.u[0], image.v[0]),
        imageVertex(clipX(d.right), clipY(d.top), image.colors[3], image.u[1], image.v[0]),
        imageVertex(clipX(d.right), clipY(d.bottom), image.colors[2], image.u[1], image.v[1]),
        imageVertex(clipX(d.left), clipY(d.bottom), image.colors[1], image.u[0], image.v[1])};
    set2DImageStates(hasTranslucentColor(image.colors, 4), true, useAlphaChannel, true);
    setStageTexture(0, texture);
    setVertexType(VERTEX_TYPE_NORMAL);
    if (scissor)
        scissorImage(clip);
    drawQuad(quad);
    if (scissor)
        scissorImage(nullptr);
}

void CD3DDriverBase::drawImagePart(IDriverTexture* texture, CPixelPoint position,
                                   const CPixelRect& source, const CPixelRect* clip, CColor color,
                                   bool useAlphaChannel) {
    if (!texture || !m_common || source.right < source.left || source.bottom < source.top)
        return;
    if (!setStageTexture(0, texture))
        return;
    CPixelRect part = source;
    CPixelRect target{position.x, position.y, position.x + (source.right - source.left),
                      position.y + (source.bottom - source.top)};
    const CPixelSize size = getRenderTargetSize();
    if (clip && !clipImagePart(target, part, *clip))
        return;
    if (!clipImagePart(target, part, {0, 0, int32_t(size.width), int32_t(size.height)}))
        return;
    const CPixelSize storage = texture->getSize();
    const float width = float(target.right - target.left);
    const float height = float(target.bottom - target.top);
    const float u0 = (float(part.left) + 0.5f) / float(storage.width);
    const float v0 = (float(part.top) + 0.5f) / float(storage.height);
    const float u1 = (float(part.left) + 0.5f + width) / float(storage.width);
    const float v1 = (float(part.top) + 0.5f + height) / float(storage.height);
    // Whole sizes, not their integer halves, which would move the image by half a pixel on a
    // target of odd size.
    const auto clipX = [&](int32_t x) { return float(x) * 2.0f / float(size.width) - 1; };
    const auto clipY = [&](int32_t y) { return 1 - float(y) * 2.0f / float(size.height); };
    const CVertexNormal quad[4] = {
        imageVertex(clipX(target.left), clipY(target.top), color, u0, v0),
        imageVertex(clipX(target.right), clipY(target.top), color, u1, v0),
        imageVertex(clipX(target.right), clipY(target.bottom), color, u1, v1),
        imageVertex(clipX(target.left), clipY(target.bottom), color, u0, v1)};
    set2DImageStates(color.getAlpha() < 0xFF, true, useAlphaChannel);
    setVertexType(VERTEX_TYPE_NORMAL);
    drawQuad(quad);
}

void CD3DDriverBase::draw2DPrimitive(const CVertex* vertices, uint32_t vertexCount,
                                     D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                     const uint16_t* indices) {
    if (!m_common)
        return;
    setRenderStates2D();
    setStageTexture(0, nullptr);
    setVertexType(VERTEX_TYPE_STANDARD);
    drawIndexedOrNot(type, vertices, vertexCount, indices, D3DFMT_INDEX16, primitiveCount,
                     sizeof(CVertex));
}

void CD3DDriverBase::drawRectGradient(const CPixelRect& rect, CColor topLeft, CColor topRight,
                                      CColor bottomLeft, CColor bottomRight,
                                      const CPixelRect* clip) {
    CPixelRect r = rect;
    if (clip) {
        r.right = r.right < clip->right ? r.right : clip->right;
        r.bottom = r.bottom < clip->bottom ? r.bottom : clip->bottom;
        r.left = r.left > clip->left ? r.left : clip->left;
        r.top = r.top > clip->top ? r.top : clip->top;
        if (r.right < r.left)
            r.right = r.left;
        if (r.bottom < r.top)
            r.bottom = r.top;
    } else if (r.right < r.left || r.bottom < r.top) {
        return;
    }
    const auto corner = [](int32_t x, int32_t y, CColor color) {
        return CVertex{CVector3d(float(x), float(y), 0.0f), color, CVector2d(0.0f, 0.0f)};
    };
    const CVertex quad[4] = {corner(r.left, r.top, topLeft), corner(r.right, r.top, topRight),
                             corner(r.right, r.bottom, bottomRight),
                             corner(r.left, r.bottom, bottomLeft)};
    draw2DPrimitive(quad, 4, D3DPT_TRIANGLELIST, 2, kQuadIndices);
}

// Lines end inside the pixels they name and points sit on pixel centres: under the 2D
// projection's half-pixel shift a whole coordinate is a pixel's corner, where the rasteriser
// would pick among its four neighbours.
void CD3DDriverBase::drawLine2D(CVector2d start, CVector2d end, CColor color) {
    const CVector2d from = lineEndPoint(start);
    const CVector2d to = lineEndPoint(end);
    const CVertex line[2] = {{CVector3d(from.x, from.y, 0.0f), color, CVector2d(0.0f, 0.0f)},
                             {CVector3d(to.x, to.y, 0.0f), color, CVector2d(0.0f, 0.0f)}};
    draw2DPrimitive(line, 2, D3DPT_LINELIST, 1, nullptr);
}

void CD3DDriverBase::plotPixel(uint32_t x, uint32_t y, CColor color) {
    const CPixelSize size = getRenderTargetSize();
    if (x > size.width || y > size.height)
        return;
    const CVertex point{CVector3d(float(x) + 0.5f, float(y) + 0.5f, 0.0f), color,
                        CVector2d(0.0f, 0.0f)};
    draw2DPrimitive(&point, 1, D3DPT_POINTLIST, 1, nullptr);
}

void CD3DDriverBase::drawLine3D(const CVector3d& start, const CVector3d& end, CColor color) {
    if (!m_common)
        return;
    setVertexType(VERTEX_TYPE_NORMAL);
    setRenderStates3D();
    const CVertexNormal line[2] = {normalVertex(start, color, 0.0f, 0.0f),
                                   normalVertex(end, color, 0.0f, 0.0f)};
    m_common->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(CVertexNormal));
}

void CD3DDriverBase::drawShadowPass(const CVector3d* triangles, uint32_t vertexCount,
                                    uint32_t cullMode, D3DRENDERSTATETYPE operation,
                                    uint32_t value) {
    m_common->SetRenderState(D3DRS_CULLMODE, cullMode);
    m_common->SetRenderState(operation, value);
    m_common->DrawPrimitiveUP(D3DPT_TRIANGLELIST, vertexCount / 3, triangles, sizeof(CVector3d));
}

void CD3DDriverBase::drawStencilShadowVolume(const CVector3d* triangles, uint32_t vertexCount,
                                             bool depthFail) {
    if (!m_stencilBuffer || vertexCount == 0 || !m_common)
        return;
    enterShadowVolumeMode(depthFail);
    if (depthFail) {
        drawShadowPass(triangles, vertexCount, D3DCULL_CW, D3DRS_STENCILZFAIL,
                       D3DSTENCILOP_INCRSAT);
        drawShadowPass(triangles, vertexCount, D3DCULL_CCW, D3DRS_STENCILZFAIL,
                       D3DSTENCILOP_DECRSAT);
    } else {
        drawShadowPass(triangles, vertexCount, D3DCULL_CCW, D3DRS_STENCILPASS,
                       D3DSTENCILOP_INCRSAT);
        drawShadowPass(triangles, vertexCount, D3DCULL_CW, D3DRS_STENCILPASS, D3DSTENCILOP_DECRSAT);
    }
}

void CD3DDriverBase::drawStencilShadow(bool clearStencilBuffer, CColor topLeft, CColor topRight,
                                       CColor bottomLeft, CColor bottomRight) {
    if (!m_stencilBuffer || !m_common)
        return;
    const CVertexNormal quad[4] = {imageVertex(-1.0f, 1.0f, topLeft, 0.0f, 0.0f),
                                   imageVertex(1.0f, 1.0f, topRight, 0.0f, 0.0f),
                                   imageVertex(1.0f, -1.0f, bottomRight, 0.0f, 0.0f),
                                   imageVertex(-1.0f, -1.0f, bottomLeft, 0.0f, 0.0f)};
    const CColor colors[4] = {topLeft, topRight, bottomLeft, bottomRight};
    enterShadowFillMode(hasTranslucentColor(colors, 4));
    setStageTexture(0, nullptr);
    setVertexType(VERTEX_TYPE_NORMAL);
    drawQuad(quad);
    if (clearStencilBuffer)
        m_common->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0);
}
