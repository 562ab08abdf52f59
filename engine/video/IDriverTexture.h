#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/video/PixelSize.h"

class CSoftwareImage;

// A texture made by a video driver, used only with the driver that made it. Starts with one
// reference, held by whoever asked for it.
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
    // Bytes per row of the mapped texels: the storage width in the texture's colour format.
    virtual uint32_t getPitch() const = 0;
    // Whether the texture has smaller levels below its full-size one.
    virtual bool hasMipLevels() const = 0;
    // Rebuilds the smaller levels from the full-size one, after it was changed through a map.
    virtual void regenerateMipLevels() = 0;
    virtual bool isRenderTarget() const = 0;
    // The image the texture was made from; none once dropped, and for render targets.
    virtual CSoftwareImage* getSourceImage() const = 0;
    virtual void dropSourceImage() = 0;
};
