#include "engine/scene/NodeClipPlanes.h"

#include <cstdint>

#include "engine/video/IRenderDriver.h"

namespace {

// Top, bottom, left and right, each keeping the side toward the inside.
const CClipPlane kPlanes[4] = {{0, 1, 0, 0}, {0, -1, 0, 0}, {1, 0, 0, 0}, {-1, 0, 0, 0}};

} // namespace

void enableNodeClipPlanes(IRenderDriver& driver, const CRect& rect) {
    const float distances[4] = {-rect.top, rect.bottom, -rect.left, rect.right};
    for (uint32_t i = 0; i < 4; ++i) {
        CClipPlane plane = kPlanes[i];
        plane.d = distances[i];
        driver.setClipPlane(i, plane, true);
    }
}

void disableNodeClipPlanes(IRenderDriver& driver) {
    for (uint32_t i = 0; i < 4; ++i)
        driver.setClipPlane(i, kPlanes[i], false);
}
