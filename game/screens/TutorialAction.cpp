#include "game/screens/TutorialAction.h"

#include "engine/io/XmlTextReader.h"

void GTutorialAction::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    (void)wishListOrders;
    setSkipCount(reader.getAttributeInt(u"SkipCount", 0));
}
