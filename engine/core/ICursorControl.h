#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"

class CSoftwareImage;

// The engine's cursor: the pointer's visibility, its position in client pixels of the game
// window and its shape. The device makes one for its window; the frame step refreshes the
// position once per frame.
class ICursorControl : public virtual CRefCounted {
public:
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
    };

    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setPosition(const Point& point) = 0;
    // The position last read or set.
    virtual Point getPosition() const = 0;
    // Reads the pointer's position anew (-1, -1 when it cannot be read) and returns x.
    virtual int32_t updatePosition() = 0;
    virtual const CArray<Point>& getPointList() const = 0;
    // Without an image the system's arrow comes back.
    virtual void setCursorImage(CSoftwareImage* image, int32_t hotSpotX, int32_t hotSpotY) = 0;
    virtual void setPointList(const CArray<Point>& points) = 0;
};
