#!/usr/bin/env bash
# Writes the seed documents of the tutorial script fuzz target: the loader test's script with
# every element and action type, single-tag elements, a queue naming a wish list of the same
# document, an unknown action type and a document cut short inside an action.
set -euo pipefail
mkdir -p "$(dirname "$0")/TutorialScript"
cd "$(dirname "$0")/TutorialScript"
cp ../../../tests/game/screens/fixtures/EveryTutorialElement.xml EveryTutorialElement.xml
printf '%s' '<Tutorial><Hint/><Hint><Arrows/><Actions/><Actions><Action Type="InsertClientsQueue"/><Action Type="Unknown" SkipCount="9"/><Action Type="ClientClick" Names="a;;b" NamesSkipCount="-1,2x3" SkipCount="-7"/></Actions></Hint></Tutorial>' > single-tags.xml
printf '%s' '<Doc><ObjectConfigurations><ClientWishList Name="W"><Resource Name="R"/></ClientWishList></ObjectConfigurations><Tutorial ForcedItemsForClients="R"><Hint><Actions><Action Type="InsertClientsQueue"><ClientsQueue><Client Name="C" WishLists="W;W;X"/></ClientsQueue><ClientsQueue/></Action></Actions></Hint></Tutorial></Doc>' > queue-with-wish-list.xml
printf '%s' '<Tutorial><Hint><Text Value="cut"/><Actions><Action Type="GiveItem" Names="A;A" Item="I' > cut.xml
