#include "game/app/StaffConfig.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

void GStaffConfig::load(CXmlTextReader& reader) {
    static const GConfigField<GStaffConfig> fields[] = {
        {u"Name", [](auto& c, auto& r) { c.name = readNameValue(r); }},
        {u"Template", [](auto& c, auto& r) { c.templateName = readNameValue(r); }},
        {u"NextLevelName", [](auto& c, auto& r) { c.nextLevelName = readNameValue(r); }},
        {u"Level", [](auto& c, auto& r) { c.level = readIntValue(r); }},
        {u"Velocity", [](auto& c, auto& r) { c.velocity = readFloatValue(r); }},
        {u"StandAnimationsCount",
         [](auto& c, auto& r) { c.standAnimationsCount = readIntValue(r); }},
        {u"ProvidedResources",
         [](auto& c, auto& r) {
             readProvidedResources(r, c.providedResources, {1, false});
         }},
    };
    readConfigFields(reader, u"Staff", *this, fields);
}
