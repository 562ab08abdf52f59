#include "engine/video/AtlasTextureCollection.h"

#include <algorithm>
#include <utility>

#include "engine/core/MathHelpers.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/ContentManager.h"

namespace {

CStringW pairText(const CVector2d& value) {
    CStringW text(value.x);
    text.append(u";");
    text.append(value.y);
    return text;
}

CStringW rectText(const AtlasTextureCollection::Entry& entry) {
    CStringW text(entry.x1);
    for (const int32_t number : {entry.y1, entry.x2, entry.y2}) {
        text.append(u",");
        text.append(number);
    }
    return text;
}

} // namespace

AtlasTextureCollection::AtlasTextureCollection(const CContentKey& key) : CContent(key) {
    setHandOutMode(kNeverCached);
}

void AtlasTextureCollection::readXml(CXmlTextReader& reader) {
    m_pageNames.clear();
    m_pages.clear();
    m_textures.clear();
    m_entries.clear();
    CContentManager* manager = getContentKey().getOwner();
    if (!manager)
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader.nodeName() == u"AtlasTextureCollection")
            return;
        if (kind != CXmlTextReader::kElement)
            continue;
        if (reader.nodeName() == u"a")
            readPage(*manager, reader);
        else if (reader.nodeName() == u"t")
            readEntry(*manager, reader);
    }
}

void AtlasTextureCollection::readPage(CContentManager& manager, const CXmlTextReader& reader) {
    const CStringW& name = reader.getAttribute(u"f");
    m_pageNames.append(name);
    m_pages.append(loadPage(manager, name));
}

CRefPointer<CImageTexture> AtlasTextureCollection::loadPage(CContentManager& manager,
                                                            const CStringW& name) const {
    CRefPointer<CContent> content = manager.load(contentType("itex"), name, true);
    if (!content || content->getContentType() != contentType("itex"))
        return nullptr;
    return CRefPointer<CImageTexture>::share(static_cast<CImageTexture*>(content.get()));
}

void AtlasTextureCollection::readEntry(CContentManager& manager, const CXmlTextReader& reader) {
    Entry entry;
    entry.name = reader.getAttribute(u"n");
    entry.page = reader.getAttributeInt(u"i", 0);
    const CArray<int> rect = parseIntList(reader.getAttribute(u"r").c_str());
    int32_t* corners[] = {&entry.x1, &entry.y1, &entry.x2, &entry.y2};
    for (uint32_t i = 0; i < 4 && i < rect.size(); ++i)
        *corners[i] = rect[i];
    entry.before = finiteOrZero(CVector2d::fromText(reader.getAttribute(u"b").c_str()));
    entry.after = finiteOrZero(CVector2d::fromText(reader.getAttribute(u"a").c_str()));
    if (entry.name.isEmpty() || entry.page < 0 || uint32_t(entry.page) >= m_pages.size())
        return;
    CRefPointer<CImageTexture>& page = m_pages[uint32_t(entry.page)];
    if (!page)
        page = loadPage(manager, m_pageNames[uint32_t(entry.page)]);
    IDriverTexture* texture = page ? page->getTexture() : nullptr;
    if (!texture)
        return;
    const CPixelSize storage = texture->getSize();
    float x1 = float(entry.x1), y1 = float(entry.y1), x2 = float(entry.x2), y2 = float(entry.y2);
    if (x2 < x1 || y2 < y1) {
        const CPixelSize image = texture->getSourceSize();
        x1 = 0;
        y1 = 0;
        x2 = float(image.width);
        y2 = float(image.height);
    }
    // Nothing to draw, and sprites would divide by the image's size.
    if (x1 == x2 || y1 == y2 || storage.width == 0 || storage.height == 0)
        return;
    const float width = float(storage.width);
    const float height = float(storage.height);
    const CRect textureRect(x1 / width, y1 / height, x2 / width, y2 / height);
    CRefPointer<CAtlasTexture> atlasTexture(new CAtlasTexture(
        CContentKey(&manager, entry.name), page, textureRect, entry.before, entry.after));
    manager.addToCache(atlasTexture.get());
    m_textures.append(std::move(atlasTexture));
    m_entries.append(std::move(entry));
}

void AtlasTextureCollection::writeXml(CXmlTextWriter& writer) {
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        return a.page != b.page ? a.page < b.page : a.name.lessThan(b.name);
    });
    writer.openElement(u"AtlasTextureCollection", false);
    writer.writeNewLine();
    for (const CStringW& name : m_pageNames) {
        writer.openElement(u"a", true, u"f", name.c_str());
        writer.writeNewLine();
    }
    writer.writeNewLine();
    for (const Entry& entry : m_entries) {
        const CStringW page(entry.page);
        writer.openElement(u"t", true, u"n", entry.name.c_str(), u"i", page.c_str(), u"r",
                           rectText(entry).c_str(), u"b", pairText(entry.before).c_str(), u"a",
                           pairText(entry.after).c_str());
        writer.writeNewLine();
    }
    writer.closeElement(u"AtlasTextureCollection");
}
