#include "game/screens/TutorialScript.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/WishListOrders.h"

namespace {

bool hasAttribute(const CXmlTextReader& reader, const char16_t* name) {
    for (int32_t i = 0; i < reader.attributeCount(); ++i) {
        if (reader.attributeName(i) == name)
            return true;
    }
    return false;
}

} // namespace

void GTutorialScript::load(CXmlTextReader& reader, const ObjectConfigurations* configurations) {
    m_hints.clear();
    // One budget for the whole script, as for the level list.
    GWishListOrders wishListOrders(configurations, LevelsConfiguration::kMaxQueueOrders);
    while (reader.readNext()) {
        if (isEndElement(reader, u"Tutorial"))
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement)
            continue;
        if (reader.nodeName() == u"Tutorial") {
            if (hasAttribute(reader, u"ForcedItemsForClients"))
                m_forcedItemsForClients = readNameListAttribute(reader, u"ForcedItemsForClients");
        } else if (reader.nodeName() == u"Hint") {
            CRefPointer<GTutorialHint> hint(new GTutorialHint);
            hint->load(reader, wishListOrders);
            m_hints.append(std::move(hint));
        }
    }
}
