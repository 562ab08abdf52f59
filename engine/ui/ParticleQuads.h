#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/ui/GeometryBuffer.h"
#include "engine/ui/Particle.h"

// The texture frame every particle shows: its edges in texture coordinates and its size in
// pixels at a particle size of 1.
struct ParticleFrame {
    float left = 0;
    float top = 0;
    float right = 1;
    float bottom = 1;
    float width = 0;
    float height = 0;
};

// Makes room for one quad (four vertices, two triangles) per particle and sets the primitive
// count to draw them. The buffer never shrinks; each new quad gets depth 0, the frame's texture
// coordinates and its two triangles. Past what 16-bit indices address it draws only the quads
// it holds and answers false.
bool sizeParticleGeometry(CGeometryBuffer& geometry, uint32_t count, const ParticleFrame& frame);

// Gives every quad of the buffer the frame's texture coordinates: left top, right top, right
// bottom, left bottom.
void refreshParticleTextureCoordinates(CGeometryBuffer& geometry, const ParticleFrame& frame);

// Places quad k around particle k: the frame's size times the particle's size, turned by its
// angle in whole degrees, coloured with its colour tinted by the given one. Depth and texture
// coordinates are left as they are. The geometry must be sized for the particles first.
void writeParticleQuads(CGeometryBuffer& geometry, const CArray<Particle>& particles,
                        const ParticleFrame& frame, CColor tint);
