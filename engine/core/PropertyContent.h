#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class IPropertyContent;

// What the atlas texture, font and sound property values need of the content manager that
// loads their content. Property sets and values hold it as a plain pointer: the manager
// outlives them.
class IPropertyContentSource {
public:
    // Content types, four letters with the first in the lowest byte.
    static constexpr uint32_t kAtlasTextureType = 0x78657461; // 'atex'
    static constexpr uint32_t kFontType = 0x746E6F66;         // 'font'
    static constexpr uint32_t kSoundType = 0x646E7369;        // 'isnd'

    // Content of a type by name, with one reference for the caller; empty when nothing loads.
    // A relative name is resolved against the manager's current directory first.
    virtual CRefPointer<IPropertyContent> loadContent(uint32_t type, const CStringW& name,
                                                      bool relative) = 0;
    // The name expressed relative to the manager's current directory.
    virtual CStringW relativeContentPath(const CStringW& name) = 0;

protected:
    ~IPropertyContentSource() = default;
};

// A loaded content object as property values see it: the owner and the name of its key.
class IPropertyContent : public virtual CRefCounted {
public:
    virtual IPropertyContentSource* getContentSource() const = 0;
    virtual const CStringW& getContentName() const = 0;
};

// An atlas texture, whose name may carry a frame number: "walk0003.png" has the base name
// "walk", the frame 3 and the extension ".png".
class IPropertyAtlasTexture : public virtual IPropertyContent {
public:
    virtual const CStringW& getBaseName() const = 0;
    // -1 when the name carries no frame number.
    virtual int32_t getFrameNumber() const = 0;
    virtual const CStringW& getExtension() const = 0;
};
