#pragma once

#include "engine/core/Matrix4.h"
#include "engine/video/PixelSize.h"

// An orthographic projection: 2 / width and 2 / height on the diagonal, depth from near to far
// onto 0 to 1.
void buildOrthoProjection(CMatrix4& matrix, float width, float height, float nearPlane,
                          float farPlane);

// The projection of pixel drawing on a target of that size: y down, depth 0 at z 0, and shifted
// by half a pixel up and left so that pixel centres fall on Direct3D's sampling points.
CMatrix4 pixelProjection(CPixelSize targetSize);
