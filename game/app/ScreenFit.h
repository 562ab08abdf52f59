#pragma once

#include <cstdint>

#include "engine/core/Vector3d.h"
#include "engine/video/Blitter.h"

// Where the game's 1024 x 768 logical screen lies in the back buffer: stretched over it when
// the aspect ratios differ by less than a tenth, else scaled evenly with a black bar on each
// side (above and below, or left and right).
class GScreenFit {
public:
    static constexpr float kLogicalWidth = 1024.0f;
    static constexpr float kLogicalHeight = 768.0f;

    // Fits into a back buffer of that size; a size without area keeps the fit as it was
    // (false), as no scale could be had from it.
    bool fit(int32_t width, int32_t height);
    // Back-buffer pixels into logical coordinates: undoes the scale and the offset of the fit.
    CVector3d screenToScene(const CVector3d& point) const;

    // From logical to back-buffer pixels; z stays 1.
    const CVector3d& getScale() const { return m_scale; }
    // Of the logical screen's corner, in back-buffer pixels; z stays 0.
    const CVector3d& getOffset() const { return m_offset; }
    // The bars in back-buffer pixels; empty when stretched.
    const CPixelRect& getFirstBar() const { return m_firstBar; }
    const CPixelRect& getSecondBar() const { return m_secondBar; }

private:
    void stretch(int32_t width, int32_t height);
    void barsAboveAndBelow(int32_t width, int32_t height, int32_t fittedHeight);
    void barsLeftAndRight(int32_t width, int32_t height, int32_t fittedWidth);

    // Until the first fit, points pass unchanged.
    CVector3d m_scale{1, 1, 1};
    CVector3d m_offset;
    CPixelRect m_firstBar{0, 0, 0, 800};
    CPixelRect m_secondBar{800, 0, 800, 600};
};
