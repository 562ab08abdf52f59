#include "engine/video/d3d/D3DProjection.h"

void buildOrthoProjection(CMatrix4& matrix, float width, float height, float nearPlane,
                          float farPlane) {
    for (int i = 0; i < 16; ++i)
        matrix.set(i, 0.0f);
    matrix.set(0, 2.0f / width);
    matrix.set(5, 2.0f / height);
    matrix.set(10, 1.0f / (farPlane - nearPlane));
    matrix.set(14, nearPlane / (nearPlane - farPlane));
    matrix.set(15, 1.0f);
}

CMatrix4 pixelProjection(CPixelSize targetSize) {
    const float width = float(targetSize.width);
    const float height = float(targetSize.height);
    CMatrix4 matrix;
    buildOrthoProjection(matrix, width, -height, -10000.0f, 10000.0f);
    matrix.set(12, -1.0f - 1.0f / width);
    matrix.set(13, 1.0f + 1.0f / height);
    matrix.set(14, 0.0f);
    return matrix;
}
