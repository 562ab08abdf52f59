#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/io/Content.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/ImageTexture.h"

// An atlas file, content of type 'atxc', never cached: its pages are image textures and each
// of its entries becomes an atlas texture that the content manager caches under the entry's
// name, so that later loads of type 'atex' by that name find it.
//
//   <AtlasTextureCollection>
//     <a f="page0.png"/>                                  a page, numbered in file order
//     <t n="Walk0001.png" i="0" r="0,0,63,31" b="1;2" a="0;0"/>
//   </AtlasTextureCollection>
//
// "r" is the rectangle x1, y1, x2, y2 in pixels of the page image; "b" and "a" are the space
// before and after the image.
class AtlasTextureCollection : public CContent {
public:
    // An entry as read from the file, as it is written back.
    struct Entry {
        CStringW name;
        int32_t page = 0;
        int32_t x1 = 0;
        int32_t y1 = 0;
        int32_t x2 = 0;
        int32_t y2 = 0;
        CVector2d before;
        CVector2d after;
    };

    explicit AtlasTextureCollection(const CContentKey& key);

    uint32_t getContentType() const override { return contentType("atxc"); }

    // Reads up to the end tag "AtlasTextureCollection", loading pages through the key's
    // content manager relative to its current directory; without a manager nothing is read.
    // Entries without a name, with a page out of range or a page that does not load, and
    // entries of zero width or height are skipped. A reversed rectangle stands for the whole
    // page image.
    void readXml(CXmlTextReader& reader);
    // The pages and the entries that were read, the entries ordered by page, then by name.
    void writeXml(CXmlTextWriter& writer);

    const CArray<CStringW>& getPageNames() const { return m_pageNames; }
    // An entry is none where a page did not load.
    const CArray<CRefPointer<CImageTexture>>& getPages() const { return m_pages; }
    const CArray<CRefPointer<CAtlasTexture>>& getAtlasTextures() const { return m_textures; }
    const CArray<Entry>& getEntries() const { return m_entries; }

protected:
    ~AtlasTextureCollection() override = default;

private:
    void readPage(CContentManager& manager, const CXmlTextReader& reader);
    void readEntry(CContentManager& manager, const CXmlTextReader& reader);
    CRefPointer<CImageTexture> loadPage(CContentManager& manager, const CStringW& name) const;

    CArray<CStringW> m_pageNames;
    CArray<CRefPointer<CImageTexture>> m_pages;
    CArray<CRefPointer<CAtlasTexture>> m_textures;
    CArray<Entry> m_entries;
};
