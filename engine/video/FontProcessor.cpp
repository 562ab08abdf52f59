#include "engine/video/FontProcessor.h"

#include <utility>

#include "engine/io/XmlContentFrame.h"
#include "engine/video/BitmapFont.h"

CFontProcessor::CFontProcessor(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

CRefPointer<CContent> CFontProcessor::load(CContentManager& manager, IInputFile* file,
                                           const CContentKey& key) {
    const CRefPointer<CXmlTextReader> reader =
        m_fileSystem ? m_fileSystem->openXmlReader(file) : nullptr;
    if (!reader)
        return nullptr;
    while (reader->readNext()) {
        const int32_t kind = reader->nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader->nodeName() == u"Font")
            break;
        if (kind != CXmlTextReader::kElement || !(reader->nodeName() == u"Font") ||
            !(reader->getAttribute(u"Type") == u"Bitmap"))
            continue;
        CRefPointer<CBitmapFont> font(new CBitmapFont(key));
        const CContentDirectoryScope scope(manager, file->getName());
        font->readXml(*reader);
        return font;
    }
    return nullptr;
}

bool CFontProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}
