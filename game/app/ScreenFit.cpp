#include "game/app/ScreenFit.h"

#include <cmath>

// In 32-bit floats throughout, so that sizes on the edge of a rule fall the same way every
// time (1920 / (4 / 3) is 1440, not 1439).
bool GScreenFit::fit(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return false;
    const float aspect = kLogicalWidth / kLogicalHeight;
    const float ratio = float(width) / float(height);
    if (std::fabs(ratio - aspect) / aspect < 0.1f) {
        stretch(width, height);
        return true;
    }
    const int32_t fittedHeight = int32_t(float(width) / aspect);
    const int32_t fittedWidth = int32_t(float(height) * aspect);
    if (fittedWidth > width)
        barsAboveAndBelow(width, height, fittedHeight);
    else
        barsLeftAndRight(width, height, fittedWidth);
    return true;
}

CVector3d GScreenFit::screenToScene(const CVector3d& point) const {
    return {(point.x - m_offset.x) / m_scale.x, (point.y - m_offset.y) / m_scale.y,
            point.z - m_offset.z};
}

void GScreenFit::stretch(int32_t width, int32_t height) {
    m_scale = {float(width) / kLogicalWidth, float(height) / kLogicalHeight, 1};
    m_offset = {};
    m_firstBar = {0, 0, 0, height};
    m_secondBar = {width, 0, width, height};
}

void GScreenFit::barsAboveAndBelow(int32_t width, int32_t height, int32_t fittedHeight) {
    const int32_t bar = (height - fittedHeight) / 2;
    const float scale = float(width) / kLogicalWidth;
    m_scale = {scale, scale, 1};
    m_offset = {0, float(bar), 0};
    m_firstBar = {0, 0, width, bar};
    m_secondBar = {0, fittedHeight + bar, width, height};
}

void GScreenFit::barsLeftAndRight(int32_t width, int32_t height, int32_t fittedWidth) {
    const int32_t bar = (width - fittedWidth) / 2;
    const float scale = float(height) / kLogicalHeight;
    m_scale = {scale, scale, 1};
    m_offset = {float(bar), 0, 0};
    m_firstBar = {0, 0, bar, height};
    m_secondBar = {fittedWidth + bar, 0, width, height};
}
