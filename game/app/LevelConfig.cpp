#include "game/app/LevelConfig.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

void GLevelConfig::parseLocationTypes(CXmlTextReader& reader) {
    locationTypes.clear();
    readElementsUntilEnd(reader, u"LocationTypes", [&] {
        if (reader.nodeName() != u"Location")
            return;
        GLocationType type;
        type.place = readNameAttribute(reader, u"Place");
        type.templateName = readNameAttribute(reader, u"Template");
        type.color = reader.getAttributeInt(u"Color", 0);
        locationTypes.append(type);
    });
}
