#include "game/effects/Path.h"

#include "engine/core/NumberList.h"
#include "engine/core/Vector2d.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"
#include "game/effects/EffectMath.h"

namespace {

// The first two numbers of the text, each truncated; missing ones are 0.
void parseIntPair(const char16_t* text, int32_t (&pair)[2]) {
    pair[0] = pair[1] = 0;
    uint32_t count = 0;
    scanNumbers(text, [&](float value) {
        pair[count++] = truncateToInt(value);
        return count < 2;
    });
}

PathPoint readPoint(const CXmlTextReader& reader) {
    const CVector2d at = CVector2d::fromText(reader.getAttribute(u"p").c_str());
    PathPoint point;
    point.x = finiteOrZero(at.x);
    point.y = finiteOrZero(at.y);
    point.d1 = finiteOrZero(reader.getAttributeFloat(u"d1", 0));
    point.d2 = finiteOrZero(reader.getAttributeFloat(u"d2", 0));
    point.s = finiteOrZero(reader.getAttributeFloat(u"s", 1));
    return point;
}

} // namespace

void GPath::load(CXmlTextReader& reader) {
    points.clear();
    id = readNameAttribute(reader, u"ID");
    parseIntPair(reader.getAttribute(u"Time").c_str(), time);
    objects = readNameListAttribute(reader, u"Objects");
    bi = reader.getAttributeInt(u"Bi", 0) == 1;
    readElementsUntilEnd(reader, u"Path", [&] {
        if (reader.nameIs(u"p"))
            points.append(readPoint(reader));
    });
}
