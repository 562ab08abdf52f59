#include "engine/ui/ParticleQuads.h"

#include <cmath>

#include "engine/core/MathHelpers.h"

namespace {

void setQuadTextureCoordinates(CVertex* quad, const ParticleFrame& frame) {
    quad[0].texCoord = CVector2d(frame.left, frame.top);
    quad[1].texCoord = CVector2d(frame.right, frame.top);
    quad[2].texCoord = CVector2d(frame.right, frame.bottom);
    quad[3].texCoord = CVector2d(frame.left, frame.bottom);
}

uint32_t quadsHeld(const CGeometryBuffer& geometry) {
    const uint32_t byVertices = geometry.getVertexCount() / 4;
    const uint32_t byIndices = geometry.getIndexCount() / 6;
    return byVertices < byIndices ? byVertices : byIndices;
}

// The angle truncated toward zero to whole degrees, folded into 0 to 359; an angle that is no
// number turns nothing. The remainder is taken in floats only past the int's range, as it costs
// more than the rest of a quad.
int wholeDegrees(float angle) {
    if (angle > -2147483520.0f && angle < 2147483520.0f)
        return wrapDegrees(int(angle));
    if (!std::isfinite(angle))
        return 0;
    return wrapDegrees(int(std::fmod(angle, 360.0f)));
}

} // namespace

bool sizeParticleGeometry(CGeometryBuffer& geometry, uint32_t count, const ParticleFrame& frame) {
    const uint32_t oldVertices = geometry.getVertexCount();
    const uint32_t oldIndices = geometry.getIndexCount();
    const bool fits = count <= CGeometryBuffer::kMaxVertices / 4;
    if (fits && (oldVertices < 4 * count || oldIndices < 6 * count)) {
        geometry.growTo(4 * count, 6 * count);
        CVertex* vertices = geometry.vertices();
        for (uint32_t v = oldVertices; v + 4 <= geometry.getVertexCount(); v += 4) {
            for (uint32_t corner = 0; corner < 4; ++corner)
                vertices[v + corner].position.z = 0;
            setQuadTextureCoordinates(vertices + v, frame);
        }
        uint16_t* indices = geometry.indices();
        uint32_t m = oldVertices + 2;
        for (uint32_t i = oldIndices; i + 6 <= geometry.getIndexCount(); i += 6, m += 4) {
            const uint16_t quad[6] = {uint16_t(m - 2), uint16_t(m - 1), uint16_t(m),
                                      uint16_t(m - 2), uint16_t(m),     uint16_t(m + 1)};
            for (uint32_t k = 0; k < 6; ++k)
                indices[i + k] = quad[k];
        }
    }
    const uint32_t held = quadsHeld(geometry);
    geometry.primitiveCount = 2 * (count < held ? count : held);
    return fits;
}

void refreshParticleTextureCoordinates(CGeometryBuffer& geometry, const ParticleFrame& frame) {
    CVertex* vertices = geometry.vertices();
    for (uint32_t v = 0; v + 4 <= geometry.getVertexCount(); v += 4)
        setQuadTextureCoordinates(vertices + v, frame);
}

void writeParticleQuads(CGeometryBuffer& geometry, const CArray<Particle>& particles,
                        const ParticleFrame& frame, CColor tint) {
    const uint32_t held = quadsHeld(geometry);
    const uint32_t count = particles.size() < held ? particles.size() : held;
    CVertex* quad = geometry.vertices();
    for (uint32_t k = 0; k < count; ++k, quad += 4) {
        const Particle& p = particles[k];
        const float hw = frame.width * p.size * 0.5f;
        const float hh = frame.height * p.size * 0.5f;
        const CColor color = CColorf(p.r, p.g, p.b, p.a).toColor().modulate(tint);
        const int degrees = wholeDegrees(p.angle);
        const float c = sinTable[(degrees + 90) % 360];
        const float s = sinTable[degrees];
        // (-hw, -hh) and (hw, -hh) turned; the opposite corners are their mirror images.
        const CVector2d a(-hw * c + hh * s, -hw * s - hh * c);
        const CVector2d b(hw * c + hh * s, hw * s - hh * c);
        quad[0].position.x = p.x + a.x;
        quad[0].position.y = p.y + a.y;
        quad[1].position.x = p.x + b.x;
        quad[1].position.y = p.y + b.y;
        quad[2].position.x = p.x - a.x;
        quad[2].position.y = p.y - a.y;
        quad[3].position.x = p.x - b.x;
        quad[3].position.y = p.y - b.y;
        for (uint32_t corner = 0; corner < 4; ++corner)
            quad[corner].color = color;
    }
}
