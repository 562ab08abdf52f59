#include "engine/video/BitmapFont.h"

#include "engine/core/MathHelpers.h"
#include "engine/core/NumberList.h"
#include "engine/io/ContentManager.h"

void CBitmapFont::readXml(CXmlTextReader& reader) {
    clearPagesAndGlyphs();
    while (reader.readNext()) {
        if (reader.nodeKind() != CXmlTextReader::kElement)
            continue;
        const CStringW& name = reader.nodeName();
        if (name == u"Properties")
            readProperties(reader);
        else if (name == u"Texture")
            readTexture(reader);
        else if (name == u"c")
            readGlyph(reader);
        else if (name == u"k")
            readKerning(reader);
    }
    finishGlyphs();
}

void CBitmapFont::readProperties(CXmlTextReader& reader) {
    const CRefPointer<CProperties> set(new CProperties(getContentKey().getOwner()));
    set->readXml(&reader, true, u"Properties");
    loadProperties(*set);
}

void CBitmapFont::readTexture(const CXmlTextReader& reader) {
    CContentManager* manager = getContentKey().getOwner();
    const CRefPointer<CContent> content =
        manager ? manager->load(contentType("atex"), reader.getAttribute(u"Filename"), true)
                : nullptr;
    if (!content || content->getContentType() != contentType("atex")) {
        addPage(nullptr);
        return;
    }
    auto* page = static_cast<CAtlasTexture*>(content.get());
    // Glyphs are drawn, never read back pixel by pixel.
    if (IDriverTexture* texture = page->getDriverTexture())
        texture->dropSourceImage();
    addPage(CRefPointer<CAtlasTexture>::share(page));
}

void CBitmapFont::readGlyph(const CXmlTextReader& reader) {
    CFontGlyph glyph;
    glyph.page = reader.getAttributeInt(u"i", 0);
    float rect[4];
    readNumberList(reader.getAttribute(u"r").c_str(), rect, 4);
    glyph.x1 = finiteOrZero(rect[0]);
    glyph.y1 = finiteOrZero(rect[1]);
    glyph.x2 = finiteOrZero(rect[2]);
    glyph.y2 = finiteOrZero(rect[3]);
    glyph.before = finiteOrZero(CVector2d::fromText(reader.getAttribute(u"b").c_str()));
    glyph.after = finiteOrZero(CVector2d::fromText(reader.getAttribute(u"a").c_str()));
    glyph.width = glyph.x2 - glyph.x1;
    glyph.height = glyph.y2 - glyph.y1;
    addGlyph(reader.getAttribute(u"c")[0], glyph);
}

void CBitmapFont::readKerning(const CXmlTextReader& reader) {
    const CStringW& pair = reader.getAttribute(u"c");
    if (pair.length() == 2)
        setKerningPair(pair[0], pair[1], reader.getAttributeInt(u"k", 0));
}
