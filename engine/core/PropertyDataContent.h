#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"

// The property values that refer to loaded content by name. Each loads through a content
// source while that lives; without one its text is ignored. Its text is the content's name relative
// to the source's current directory, empty without content. Two values are equal when they hold the
// same content object.

// A texture whose name may carry a frame number; interpolating between two frames of one
// animation steps through the frames in between, which prepareInterpolation loads ahead.
class CPropertyDataAtlasTexture final : public CPropertyDataOf<CPropertyDataAtlasTexture, 13> {
public:
    static constexpr const char16_t* kKeyword = u"atlasTexture";
    static constexpr const char16_t* kClassName = u"CPropertyDataAtlasTexture";
    // At most this many frames are loaded ahead; frames beyond load when they are reached.
    static constexpr uint32_t kMaxPreparedFrames = 10000;

    explicit CPropertyDataAtlasTexture(IPropertyContentSource* source = nullptr)
        : m_source(linkOf(source)) {}

    IPropertyAtlasTexture* getTexture() const { return m_texture.get(); }
    IPropertyContentSource* getContentSource() const { return sourceOf(m_source); }
    // A texture brings the source that owns it; none keeps the current source.
    void setTexture(CRefPointer<IPropertyAtlasTexture> texture);

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // Loads the texture named by a non-empty text, relative to the source's directory.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    // True when out's texture changed.
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;
    // Loads the frames from this texture's to the target's, in order.
    void prepareInterpolation(const CPropertyData* to) override;

private:
    ~CPropertyDataAtlasTexture() override = default;

    bool setTextureIfDifferent(CRefPointer<IPropertyAtlasTexture> texture);

    // Entry k is the frame k steps from this texture's toward the prepared target.
    CArray<CRefPointer<IPropertyAtlasTexture>> m_frames;
    CRefPointer<IPropertyAtlasTexture> m_texture;
    CRefPointer<CContentSourceLink> m_source;
};

// What the font and sound values share: one piece of content of a fixed type.
template <typename Derived, int32_t TypeId, uint32_t ContentType>
class CPropertyDataContentOf : public CPropertyDataOf<Derived, TypeId> {
public:
    explicit CPropertyDataContentOf(IPropertyContentSource* source) : m_source(linkOf(source)) {}

    IPropertyContent* getContent() const { return m_content.get(); }
    IPropertyContentSource* getContentSource() const { return sourceOf(m_source); }
    // Content brings the source that owns it; none keeps the current source.
    void setContent(CRefPointer<IPropertyContent> content);

    CRefPointer<CPropertyData> clone() const override;
    CStringW toStringW() const override;
    CString toString() const override;
    // Loads the named content relative to the source's directory; a name that does not load
    // leaves the value without content.
    void fromString(const CString& text) override;
    void fromStringW(const CStringW& text) override;
    bool equals(const CPropertyData* other) const override;
    // The end's content once t reaches 1, else the start's; true when out's content changed.
    bool interpolate(const CPropertyData* to, CPropertyData* out, float t) const override;

protected:
    ~CPropertyDataContentOf() override = default;

private:
    CRefPointer<IPropertyContent> m_content;
    CRefPointer<CContentSourceLink> m_source;
};

class CPropertyDataFont final
    : public CPropertyDataContentOf<CPropertyDataFont, 14, IPropertyContentSource::kFontType> {
public:
    static constexpr const char16_t* kKeyword = u"font";
    static constexpr const char16_t* kClassName = u"CPropertyDataFont";

    explicit CPropertyDataFont(IPropertyContentSource* source = nullptr)
        : CPropertyDataContentOf(source) {}

private:
    ~CPropertyDataFont() override = default;
};

class CPropertyDataSound final
    : public CPropertyDataContentOf<CPropertyDataSound, 15, IPropertyContentSource::kSoundType> {
public:
    static constexpr const char16_t* kKeyword = u"sound";
    static constexpr const char16_t* kClassName = u"CPropertyDataSound";

    explicit CPropertyDataSound(IPropertyContentSource* source = nullptr)
        : CPropertyDataContentOf(source) {}

private:
    ~CPropertyDataSound() override = default;
};

extern template class CPropertyDataContentOf<CPropertyDataFont, 14,
                                             IPropertyContentSource::kFontType>;
extern template class CPropertyDataContentOf<CPropertyDataSound, 15,
                                             IPropertyContentSource::kSoundType>;

// Values referring to the content, with the content's owner as their source; none gives a
// value without content and without source.
CRefPointer<CPropertyDataAtlasTexture> makeAtlasTextureProperty(IPropertyAtlasTexture* texture);
CRefPointer<CPropertyDataFont> makeFontProperty(IPropertyContent* font);
