#pragma once

#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/Rect.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/io/Content.h"
#include "engine/video/ImageTexture.h"

// A named rectangle of an image texture, content of type 'atex', handed out shared: what
// sprites, fonts and atlas texture properties draw. Its name may carry a frame number:
// "Walk0012.png" has the base name "Walk", the frame 12 and the extension ".png".
class CAtlasTexture : public CContent, public IPropertyAtlasTexture {
public:
    // The rectangle is left, top, right, bottom in texture coordinates of the page (0 to 1
    // across its driver texture); before and after are the image's margins in pixels.
    CAtlasTexture(const CContentKey& key, CRefPointer<CImageTexture> page, const CRect& rect,
                  CVector2d before, CVector2d after);

    uint32_t getContentType() const override { return contentType("atex"); }

    CImageTexture* getPage() const { return m_page.get(); }
    // The page's driver texture; none without a page or while no driver is present.
    IDriverTexture* getDriverTexture() const;
    const CRect& getRect() const { return m_rect; }
    // Space before the image (left, top) and after it (right, bottom), in pixels.
    const CVector2d& getBefore() const { return m_before; }
    const CVector2d& getAfter() const { return m_after; }

    // Empty when the name has no "."; then the frame is -1 and the base name empty as well.
    const CStringW& getBaseName() const override { return m_baseName; }
    // The digits right before the extension; -1 without any, INT32_MAX when they are more.
    int32_t getFrameNumber() const override { return m_frame; }
    // From the last "." on, with the dot.
    const CStringW& getExtension() const override { return m_extension; }

protected:
    ~CAtlasTexture() override = default;

private:
    void parseName(const CStringW& name);

    CRefPointer<CImageTexture> m_page;
    CRect m_rect;
    CVector2d m_before;
    CVector2d m_after;
    CStringW m_baseName;
    CStringW m_extension;
    int32_t m_frame = -1;
};
