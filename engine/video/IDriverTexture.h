#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/video/PixelSize.h"

// A texture made by a video driver, used only with the driver that made it. Starts with one
// reference, held by whoever asked for it.
//
// Other code may know these operations as sourceSize (getSourceSize), storageSize (getSize),
// driverKind (getDriverKind), pixelFormat (getColorFormat) and rowPitch (getPitch).
class IDriverTexture : public virtual CRefCounted {
public:
    // The texels for reading or writing, or none; every successful map is followed by an unmap,
    // which uploads what was written unless the mapping was read-only.
    virtual void* mapPixels(bool readOnly) = 0;
    virtual void unmapPixels() = 0;
    // The size of the image the texture was made from.
    virtual CPixelSize getSourceSize() const = 0;
    // The size of the texture's storage, at least the source size.
    virtual CPixelSize getSize() const = 0;
    // The kind of driver that made it (EDriverKind).
    virtual uint32_t getDriverKind() const = 0;
    virtual int32_t getColorFormat() const = 0;
    // Bytes per row of the kept source image; 0 without one.
    virtual uint32_t getPitch() const = 0;
};
