#include "engine/core/PropertyDataContent.h"

#include <cmath>
#include <utility>

namespace {

// The content's name relative to the directory of the source that owns it.
CStringW contentText(const IPropertyContent* content, IPropertyContentSource* source) {
    if (!content)
        return CStringW();
    return source ? source->relativeContentPath(content->getContentName())
                  : content->getContentName();
}

// A loaded object that is not an atlas texture counts as nothing loaded.
CRefPointer<IPropertyAtlasTexture> loadAtlasTexture(IPropertyContentSource* source,
                                                    const CStringW& name, bool relative) {
    if (!source)
        return CRefPointer<IPropertyAtlasTexture>();
    const CRefPointer<IPropertyContent> content =
        source->loadContent(IPropertyContentSource::kAtlasTextureType, name, relative);
    return CRefPointer<IPropertyAtlasTexture>::share(
        dynamic_cast<IPropertyAtlasTexture*>(content.get()));
}

// Negative frame numbers mean the name carries none.
int32_t frameOf(const CRefPointer<IPropertyAtlasTexture>& texture) {
    const int32_t frame = texture ? texture->getFrameNumber() : -1;
    return frame < 0 ? -1 : frame;
}

// Base name, the frame as "%04d", extension.
CStringW frameName(const IPropertyAtlasTexture& texture, int32_t frame) {
    const CStringW digits(frame);
    CStringW name(texture.getBaseName());
    for (uint32_t length = digits.length(); length < 4; ++length)
        name.append(u"0");
    name.append(digits);
    name.append(texture.getExtension());
    return name;
}

// The steps from one frame toward another at fraction t, truncated toward zero and kept
// between the two frames; NaN counts as 0.
int64_t frameStep(int32_t from, int32_t to, float t) {
    const int64_t difference = int64_t(to) - from;
    const int64_t low = difference < 0 ? difference : 0;
    const int64_t high = difference < 0 ? 0 : difference;
    const float step = float(difference) * t;
    if (std::isnan(step))
        return 0;
    if (step <= float(low))
        return low;
    if (step >= float(high))
        return high;
    return int64_t(step);
}

} // namespace

// ---- atlasTexture

void CPropertyDataAtlasTexture::setTexture(CRefPointer<IPropertyAtlasTexture> texture) {
    if (texture)
        m_source = linkOf(texture->getContentSource());
    m_texture = std::move(texture);
}

bool CPropertyDataAtlasTexture::setTextureIfDifferent(CRefPointer<IPropertyAtlasTexture> texture) {
    if (texture == m_texture)
        return false;
    setTexture(std::move(texture));
    return true;
}

CRefPointer<CPropertyData> CPropertyDataAtlasTexture::clone() const {
    CRefPointer<CPropertyDataAtlasTexture> copy(new CPropertyDataAtlasTexture(getContentSource()));
    copy->m_frames = m_frames;
    copy->setTexture(m_texture);
    return copy;
}

CStringW CPropertyDataAtlasTexture::toStringW() const {
    return contentText(m_texture.get(), m_texture ? m_texture->getContentSource() : nullptr);
}

CString CPropertyDataAtlasTexture::toString() const {
    return CString(toStringW().c_str());
}

void CPropertyDataAtlasTexture::fromString(const CString& text) {
    fromStringW(CStringW(text.c_str()));
}

void CPropertyDataAtlasTexture::fromStringW(const CStringW& text) {
    if (IPropertyContentSource* source = getContentSource(); source && !text.isEmpty())
        setTexture(loadAtlasTexture(source, text, true));
}

bool CPropertyDataAtlasTexture::equals(const CPropertyData* other) const {
    const CPropertyDataAtlasTexture* same = sameType(other);
    return same && same->m_texture == m_texture;
}

bool CPropertyDataAtlasTexture::interpolate(const CPropertyData* to, CPropertyData* out,
                                            float t) const {
    const CPropertyDataAtlasTexture* end = sameType(to);
    CPropertyDataAtlasTexture* result = sameType(out);
    if (!end || !result)
        return false;
    if (t >= 1.0f)
        return result->setTextureIfDifferent(end->m_texture);
    const int32_t from = frameOf(m_texture);
    const int32_t target = frameOf(end->m_texture);
    if (from < 0 || target < 0)
        return result->setTextureIfDifferent(m_texture);
    const int64_t step = frameStep(from, target, t);
    const uint64_t index = uint64_t(step < 0 ? -step : step);
    if (index < m_frames.size() && m_frames[uint32_t(index)])
        return result->setTextureIfDifferent(m_frames[uint32_t(index)]);
    return result->setTextureIfDifferent(loadAtlasTexture(
        m_texture->getContentSource(), frameName(*m_texture, int32_t(from + step)), false));
}

void CPropertyDataAtlasTexture::prepareInterpolation(const CPropertyData* to) {
    const CPropertyDataAtlasTexture* end = sameType(to);
    if (!end || !m_texture || !end->m_texture)
        return;
    m_frames.clear();
    const int32_t from = frameOf(m_texture);
    const int32_t target = frameOf(end->m_texture);
    if (from < 0 || target < 0 || from == target)
        return;
    const int64_t distance = target > from ? int64_t(target) - from : int64_t(from) - target;
    const uint32_t count =
        distance < kMaxPreparedFrames ? uint32_t(distance) + 1 : kMaxPreparedFrames;
    const int32_t direction = target > from ? 1 : -1;
    IPropertyContentSource* source = m_texture->getContentSource();
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t frame = from + direction * int32_t(k);
        m_frames.append(loadAtlasTexture(source, frameName(*m_texture, frame), false));
    }
}

// ---- font and sound

template <typename Derived, int32_t TypeId, uint32_t ContentType>
void CPropertyDataContentOf<Derived, TypeId, ContentType>::setContent(
    CRefPointer<IPropertyContent> content) {
    if (content)
        m_source = linkOf(content->getContentSource());
    m_content = std::move(content);
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
CRefPointer<CPropertyData> CPropertyDataContentOf<Derived, TypeId, ContentType>::clone() const {
    // Without content the copy has no source either.
    CRefPointer<Derived> copy(new Derived());
    copy->setContent(m_content);
    return copy;
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
CStringW CPropertyDataContentOf<Derived, TypeId, ContentType>::toStringW() const {
    return contentText(m_content.get(), getContentSource());
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
CString CPropertyDataContentOf<Derived, TypeId, ContentType>::toString() const {
    return CString(toStringW().c_str());
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
void CPropertyDataContentOf<Derived, TypeId, ContentType>::fromString(const CString& text) {
    fromStringW(CStringW(text.c_str()));
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
void CPropertyDataContentOf<Derived, TypeId, ContentType>::fromStringW(const CStringW& text) {
    if (IPropertyContentSource* source = getContentSource())
        setContent(source->loadContent(ContentType, text, true));
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
bool CPropertyDataContentOf<Derived, TypeId, ContentType>::equals(
    const CPropertyData* other) const {
    const CPropertyDataContentOf* same = CPropertyDataOf<Derived, TypeId>::sameType(other);
    return same && same->m_content == m_content;
}

template <typename Derived, int32_t TypeId, uint32_t ContentType>
bool CPropertyDataContentOf<Derived, TypeId, ContentType>::interpolate(const CPropertyData* to,
                                                                       CPropertyData* out,
                                                                       float t) const {
    const CPropertyDataContentOf* end = CPropertyDataOf<Derived, TypeId>::sameType(to);
    CPropertyDataContentOf* result = CPropertyDataOf<Derived, TypeId>::sameType(out);
    if (!end || !result)
        return false;
    const CRefPointer<IPropertyContent>& candidate = t >= 1.0f ? end->m_content : m_content;
    if (candidate == result->m_content)
        return false;
    result->setContent(candidate);
    return true;
}

template class CPropertyDataContentOf<CPropertyDataFont, 14, IPropertyContentSource::kFontType>;
template class CPropertyDataContentOf<CPropertyDataSound, 15, IPropertyContentSource::kSoundType>;

// ---- factories

CRefPointer<CPropertyDataAtlasTexture> makeAtlasTextureProperty(IPropertyAtlasTexture* texture) {
    CRefPointer<CPropertyDataAtlasTexture> value(new CPropertyDataAtlasTexture());
    value->setTexture(CRefPointer<IPropertyAtlasTexture>::share(texture));
    return value;
}

CRefPointer<CPropertyDataFont> makeFontProperty(IPropertyContent* font) {
    CRefPointer<CPropertyDataFont> value(new CPropertyDataFont());
    value->setContent(CRefPointer<IPropertyContent>::share(font));
    return value;
}
