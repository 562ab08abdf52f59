#include "game/screens/TutorialHint.h"

#include "engine/core/Logger.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"
#include "game/screens/TutorialActions.h"

namespace {

CVector3d readVectorValue(const CXmlTextReader& reader, const char16_t* name) {
    return CVector3d::fromText(reader.getAttribute(name).c_str());
}

// A content author needs to know which file asks for what.
void warnUnknownType(const CXmlTextReader& reader, const CStringW& type) {
    CStringW message(u"Tutorial ");
    message.append(reader.fileName().isEmpty() ? CStringW(u"(unnamed)") : reader.fileName());
    message.append(u" names an unknown action type: ");
    message.append(type);
    CLogger::instance()->log(message, CLogger::LevelWarning);
}

} // namespace

void GTutorialHint::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    readElementsUntilEnd(reader, u"Hint", [&] {
        const CStringW& name = reader.nodeName();
        if (name == u"Position") {
            position = readVectorValue(reader, kValueAttribute);
        } else if (name == u"NeliaPosition") {
            neliaShown = true;
            neliaPosition = readVectorValue(reader, kValueAttribute);
        } else if (name == u"Text") {
            text = reader.getAttribute(kValueAttribute);
        } else if (name == u"Image") {
            image = readNarrowAttribute(reader, kValueAttribute);
        } else if (name == u"Actions") {
            parseTutorialActions(*this, reader, wishListOrders);
        } else if (name == u"Arrows") {
            parseTutorialArrows(*this, reader);
        }
    });
}

void GTutorialHint::beginActions(GGameLevelScene* level) {
    for (const CRefPointer<GTutorialAction>& action : actions)
        action->begin(level);
}

void parseTutorialActions(GTutorialHint& hint, CXmlTextReader& reader,
                          GWishListOrders& wishListOrders) {
    readElementsUntilEnd(reader, u"Actions", [&] {
        if (reader.nodeName() != u"Action")
            return;
        const CStringW& type = reader.getAttribute(u"Type");
        CRefPointer<GTutorialAction> action = createTutorialAction(type);
        if (!action) {
            warnUnknownType(reader, type);
            return;
        }
        action->load(reader, wishListOrders);
        hint.actions.append(std::move(action));
    });
}

void parseTutorialArrows(GTutorialHint& hint, CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"Arrows", [&] {
        if (reader.nodeName() != u"Arrow")
            return;
        GTutorialArrow arrow;
        arrow.position = readVectorValue(reader, u"Position");
        arrow.rotation = CVector3d(0, 0, reader.getAttributeFloat(u"Rotation", 0));
        hint.arrows.append(arrow);
    });
}
