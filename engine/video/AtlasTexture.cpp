#include "engine/video/AtlasTexture.h"

#include <utility>

CAtlasTexture::CAtlasTexture(const CContentKey& key, CRefPointer<CImageTexture> page,
                             const CRect& rect, CVector2d before, CVector2d after)
    : CContent(key), m_page(std::move(page)), m_rect(rect), m_before(before), m_after(after) {
    setHandOutMode(kShared);
    parseName(key.getName());
}

IDriverTexture* CAtlasTexture::getDriverTexture() const {
    return m_page ? m_page->getTexture() : nullptr;
}

void CAtlasTexture::parseName(const CStringW& name) {
    const int dot = name.findLast(u'.');
    if (dot < 0)
        return;
    m_extension = name.subString(uint32_t(dot), name.length() - uint32_t(dot));
    uint32_t digitsStart = uint32_t(dot);
    while (digitsStart > 0 && name[digitsStart - 1] >= u'0' && name[digitsStart - 1] <= u'9')
        --digitsStart;
    m_baseName = name.subString(0, digitsStart);
    if (digitsStart == uint32_t(dot))
        return;
    int64_t frame = 0;
    for (uint32_t i = digitsStart; i < uint32_t(dot) && frame <= INT32_MAX; ++i)
        frame = frame * 10 + (name[i] - u'0');
    m_frame = frame > INT32_MAX ? INT32_MAX : int32_t(frame);
}
