#include "game/app/LogoList.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

void GLogoList::load(CXmlTextReader& reader) {
    while (reader.readNext()) {
        if (isEndElement(reader, u"Logos"))
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement)
            continue;
        const CStringW& name = reader.nodeName();
        if (name == u"Logo") {
            LogoEntry logo;
            logo.image = readNarrowAttribute(reader, u"Image");
            logo.timeMs = reader.getAttributeInt(u"Time", 0);
            logo.skippable = reader.getAttribute(u"Skippable") == u"true";
            m_logos.append(logo);
        } else if (name == u"MMLogo") {
            MMLogoEntry logo;
            logo.image = readNarrowAttribute(reader, u"Image");
            logo.position = CVector2d::fromText(reader.getAttribute(u"Pos").c_str());
            logo.address = readNarrowAttribute(reader, u"URL");
            m_menuLogos.append(logo);
        }
    }
}
