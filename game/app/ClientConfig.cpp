#include "game/app/ClientConfig.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

// True when the value, read as an integer, is 1.
bool readOneValue(const CXmlTextReader& reader) {
    return readIntValue(reader) == 1;
}

} // namespace

void GClientConfig::load(CXmlTextReader& reader) {
    static const GConfigField<GClientConfig> fields[] = {
        {u"Name", [](auto& c, auto& r) { c.name = readNameValue(r); }},
        {u"TemplateName", [](auto& c, auto& r) { c.templateName = readNameValue(r); }},
        {u"InitialHearts", [](auto& c, auto& r) { c.initialHearts = readFloatValue(r); }},
        {u"SecondsPerHeartQueue",
         [](auto& c, auto& r) { c.secondsPerHeartQueue = readFloatValue(r); }},
        {u"SecondsPerHeartScene",
         [](auto& c, auto& r) { c.secondsPerHeartScene = readFloatValue(r); }},
        {u"SuperPadMinHearts", [](auto& c, auto& r) { c.superPadMinHearts = readFloatValue(r); }},
        {u"SuperPadClicks", [](auto& c, auto& r) { c.superPadClicks = readIntValue(r); }},
        {u"AdditionalItemsRotationTime",
         [](auto& c, auto& r) { c.additionalItemsRotationTime = readIntValue(r); }},
        {u"PatienceLevel", [](auto& c, auto& r) { c.patienceLevel = readIntValue(r); }},
        {u"ResourceTimings", [](auto& c, auto& r) { c.loadResourceTimings(r); }},
        {u"TalkActions", [](auto& c, auto& r) { c.loadTalkActions(r); }},
        {u"NeigbhoursServMul",
         [](auto& c, auto& r) { c.neighboursServMul = readFloatValue(r, 1); }},
        {u"CanDiscardNeigbhoursAbilities",
         [](auto& c, auto& r) { c.canDiscardNeighboursAbilities = readOneValue(r); }},
        {u"IsMan", [](auto& c, auto& r) { c.isMan = readOneValue(r); }},
    };
    readConfigFields(reader, u"Client", *this, fields);
}

// A later timing of the same resource replaces the earlier one.
void GClientConfig::loadResourceTimings(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"ResourceTimings", [&] {
        if (reader.nodeName() != u"Resource")
            return;
        GResourceTiming timing;
        timing.resource = readNameAttribute(reader, u"Name");
        timing.servedByStaffTime = reader.getAttributeInt(u"ServedByStaffTime", 0);
        timing.servedBySelfTime = reader.getAttributeInt(u"ServedBySelfTime", 0);
        resourceTimings[timing.resource] = timing;
    });
}

void GClientConfig::loadTalkActions(CXmlTextReader& reader) {
    talksWaitTime = reader.getAttributeInt(u"TalksWaitTime", 0);
    readElementsUntilEnd(reader, u"TalkActions", [&] {
        if (reader.nodeName() != u"Client")
            return;
        GTalkAction action;
        action.client = readNameAttribute(reader, u"Client");
        action.secondsPerHeart = reader.getAttributeFloat(u"SecondsPerHeart", 0);
        action.stop = reader.getAttributeInt(u"Stop", 0) == 1;
        talkActions.append(action);
    });
}
