#include "game/app/LevelsConfiguration.h"

#include "engine/core/Properties.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"
#include "game/app/WishListOrders.h"

namespace {

// Targets given in the wrong order are raised, never lowered; colours are kept to 2 to 5.
void settleLevel(GLevelConfig& level) {
    if (level.targetExpertMoney < level.targetMoney)
        level.targetExpertMoney = level.targetMoney + 1;
    if (level.targetMasterMoney < level.targetExpertMoney)
        level.targetMasterMoney = level.targetExpertMoney + 1;
    if (level.colorsCount < 2)
        level.colorsCount = 2;
    else if (level.colorsCount > 5)
        level.colorsCount = 5;
}

} // namespace

LevelsConfiguration::LevelsConfiguration() : m_bonusTables(new GLevelBonusTables) {}

CStringW LevelsConfiguration::fileName(const CProperties& profile) {
    const bool easy = profile.getInt("PlayerDifficulty") != 0;
    return CStringW(easy ? u"levels/common/LevelConfigsEasy.xml"
                         : u"levels/common/LevelConfigs.xml");
}

bool LevelsConfiguration::loadFile(IVirtualFileSystem& fileSystem, const CProperties& profile,
                                   const ObjectConfigurations* configurations) {
    const CRefPointer<CXmlTextReader> reader = fileSystem.openXmlReader(fileName(profile));
    if (!reader)
        return false;
    load(*reader, configurations);
    return true;
}

void LevelsConfiguration::load(CXmlTextReader& reader, const ObjectConfigurations* configurations) {
    GWishListOrders wishListOrders(configurations, kMaxQueueOrders);
    while (reader.readNext()) {
        if (isEndElement(reader, u"LevelsConfiguration"))
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement)
            continue;
        const CStringW& name = reader.nodeName();
        if (name == u"LevelsConfiguration") {
            m_swapBonus = reader.getAttributeFloat(u"SwapBonus", 10.0f);
            m_superDanceClickWaitTime = reader.getAttributeInt(u"SuperDanceClickWaitTime", 5000);
        } else if (name == u"Level") {
            CRefPointer<GLevelConfig> level = parseLevel(reader, wishListOrders);
            level->swapBonus = m_swapBonus;
            level->superDanceClickWaitTime = m_superDanceClickWaitTime;
            level->bonusTables = m_bonusTables;
            m_levels.append(std::move(level));
        } else if (name == u"ChainBonuses") {
            parseChainBonuses(reader);
        } else if (name == u"NextClientPlaceBoosts") {
            parseNextClientPlaceBoosts(reader);
        }
    }
}

void LevelsConfiguration::clear() {
    m_levels.clear();
    m_bonusTables = CRefPointer<GLevelBonusTables>(new GLevelBonusTables);
}

void LevelsConfiguration::parseClientsQueue(CArray<GClientQueueEntry>& entries,
                                            CXmlTextReader& reader,
                                            const ObjectConfigurations* configurations) {
    GWishListOrders wishListOrders(configurations, kMaxQueueOrders);
    parseClientsQueue(entries, reader, wishListOrders);
}

void LevelsConfiguration::parseClientsQueue(CArray<GClientQueueEntry>& entries,
                                            CXmlTextReader& reader,
                                            GWishListOrders& wishListOrders) {
    entries.clear();
    readElementsUntilEnd(reader, u"ClientsQueue", [&] {
        const bool isClient = reader.nodeName() == u"Client";
        if (!isClient && reader.nodeName() != u"Pair")
            return;
        GClientQueueEntry entry;
        if (isClient)
            readWishListEntry(reader, entry, wishListOrders);
        else
            readPairEntry(reader, entry);
        entries.append(std::move(entry));
    });
}

GLevelConfig* LevelsConfiguration::getLevel(int32_t position) const {
    return position >= 0 && uint32_t(position) < m_levels.size() ? m_levels[position].get()
                                                                 : nullptr;
}

CRefPointer<GLevelConfig> LevelsConfiguration::parseLevel(CXmlTextReader& reader,
                                                          GWishListOrders& wishListOrders) {
    static const GConfigField<GLevelConfig> fields[] = {
        {u"LevelIndex", [](auto& c, auto& r) { c.levelIndex = readIntValue(r); }},
        {u"SettingIndex", [](auto& c, auto& r) { c.settingIndex = readIntValue(r, 1); }},
        {u"ColorsCount", [](auto& c, auto& r) { c.colorsCount = readIntValue(r, 2); }},
        {u"LevelTime", [](auto& c, auto& r) { c.levelTime = readIntValue(r); }},
        {u"TargetMoney", [](auto& c, auto& r) { c.targetMoney = readFloatValue(r); }},
        {u"TargetExpertMoney", [](auto& c, auto& r) { c.targetExpertMoney = readFloatValue(r); }},
        {u"TargetMasterMoney", [](auto& c, auto& r) { c.targetMasterMoney = readFloatValue(r); }},
        {u"TargetHearts", [](auto& c, auto& r) { c.targetHearts = readIntValue(r); }},
        {u"TargetExpertHearts", [](auto& c, auto& r) { c.targetExpertHearts = readIntValue(r); }},
        {u"HeroType", [](auto& c, auto& r) { c.heroType = readNameValue(r); }},
        {u"MasseurType", [](auto& c, auto& r) { c.masseurType = readNameValue(r); }},
        {u"FitnessType", [](auto& c, auto& r) { c.fitnessType = readNameValue(r); }},
        {u"NewClientName", [](auto& c, auto& r) { c.newClientName = readNameValue(r); }},
        {u"ClientHappinessDecreaseMul",
         [](auto& c, auto& r) { c.clientHappinessDecreaseMul = readFloatValue(r); }},
        {u"LocationTypes", [](auto& c, auto& r) { c.parseLocationTypes(r); }},
        {u"Upgrades",
         [](auto& c, auto& r) { c.upgrades = readNameListAttribute(r, kValueAttribute); }},
    };
    CRefPointer<GLevelConfig> level(new GLevelConfig);
    readElementsUntilEnd(reader, u"Level", [&] {
        if (reader.nodeName() == u"ClientsQueue")
            parseClientsQueue(level->clientsQueue, reader, wishListOrders);
        else
            readConfigField(reader, *level, fields);
    });
    settleLevel(*level);
    return level;
}

// A later chain of the same name replaces the earlier one.
void LevelsConfiguration::parseChainBonuses(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"ChainBonuses", [&] {
        if (reader.nodeName() != u"Chain")
            return;
        GChainBonus bonus;
        bonus.name = readNameAttribute(reader, u"Name");
        bonus.text = readNarrowAttribute(reader, u"Text");
        bonus.money = reader.getAttributeFloat(u"Money", 0);
        m_bonusTables->chainBonuses[bonus.name] = bonus;
    });
}

void LevelsConfiguration::parseNextClientPlaceBoosts(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"NextClientPlaceBoosts", [&] {
        if (reader.nodeName() != u"Client")
            return;
        GNextClientPlaceBoost boost;
        boost.name1 = readNameAttribute(reader, u"Name1");
        boost.name2 = readNameListAttribute(reader, u"Name2");
        boost.hearts1 = reader.getAttributeFloat(u"Hearts1", 0);
        boost.hearts2 = reader.getAttributeFloat(u"Hearts2", 0);
        boost.probability = reader.getAttributeFloat(u"Probability", 0);
        m_bonusTables->nextClientPlaceBoosts.append(boost);
    });
}
