#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class IPropertyContent;
class IPropertyContentSource;

// A weak handle on a content source, shared by the content keys, content values and property
// sets that refer to it: the source clears it as it goes, so a late call through the handle
// finds no source instead of freed memory.
class CContentSourceLink : public CRefCounted {
public:
    explicit CContentSourceLink(IPropertyContentSource* source) : m_source(source) {}

    IPropertyContentSource* get() const { return m_source; }
    void clear() { m_source = nullptr; }

private:
    IPropertyContentSource* m_source;
};

// What the atlas texture, font and sound property values need of the content manager that
// loads their content. Whoever keeps a source keeps its link (linkOf), never the source.
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

    // The same link for the source's whole life.
    const CRefPointer<CContentSourceLink>& getLink() const { return m_link; }

protected:
    IPropertyContentSource() : m_link(new CContentSourceLink(this)) {}
    // A copy is another source, with a link of its own.
    IPropertyContentSource(const IPropertyContentSource&) : IPropertyContentSource() {}
    IPropertyContentSource& operator=(const IPropertyContentSource&) { return *this; }
    ~IPropertyContentSource() { cutLink(); }

    // For a source whose destructor still has work to do: it cuts the link as soon as it may
    // no longer be reached.
    void cutLink() { m_link->clear(); }

private:
    CRefPointer<CContentSourceLink> m_link;
};

// The link of a source, none for none.
inline CRefPointer<CContentSourceLink> linkOf(IPropertyContentSource* source) {
    return source ? source->getLink() : CRefPointer<CContentSourceLink>();
}

// The source a link still names, none once it is gone.
inline IPropertyContentSource* sourceOf(const CRefPointer<CContentSourceLink>& link) {
    return link ? link->get() : nullptr;
}

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
