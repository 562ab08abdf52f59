// Reads a whole game's configuration (the five object files, the level list and the upgrades
// of five settings) through the game's readers, and parses the same bytes with expat alone.
// The documents are generated at the scale of a full game: 40 resources, 35 locations,
// 15 client types, 80 wish lists, 66 levels of 35 queue entries and 5 catalogues of 11 levels.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <expat.h>

#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"
#include "game/app/UpgradeCatalog.h"

namespace {

std::string n(int value) {
    return std::to_string(value);
}

std::string field(const std::string& name, const std::string& value) {
    return "\t\t<" + name + " Value=\"" + value + "\"/>\r\n";
}

std::string resources() {
    std::string xml = "<ObjectConfigurations>\r\n";
    for (int r = 0; r < 40; ++r) {
        xml += "\t<Resource>\r\n" + field("Name", "Res" + n(r)) + field("WaveIndex", n(r % 3)) +
               field("IconName", "IconRes" + n(r)) + field("ActionAnimationName", "Act" + n(r)) +
               field("ActionAnimationTime", "1500") + field("ActionCue", "Cue" + n(r)) +
               field("ItemType", n(r % 6)) + field("ClientBoostType", n(r % 2)) +
               field("MiniGameProbability", "0.1") + field("MoneyBoost", "12.5") +
               field("HeartsBoost", "0.5") + field("ServingSpeedBoost", "1.2") +
               field("RecycleMoneyPenalty", "3") + field("ChainType", "Chain" + n(r % 6)) +
               field("SpecificResources", "Res1;Res2") +
               "\t\t<AdditionalItems>\r\n\t\t\t<Item Name=\"Res3\" TimeRange=\"500;1500\" "
               "Probability=\"0.5\"/>\r\n\t\t\t<Item Name=\"Res4\" TimeRange=\"1000;2000\"/>\r\n"
               "\t\t</AdditionalItems>\r\n";
        if (r % 4 == 0)
            xml += field("ModificationsCount", r % 8 == 0 ? "5" : "3;2");
        xml += "\t</Resource>\r\n";
    }
    return xml + "</ObjectConfigurations>\r\n";
}

std::string locations() {
    std::string xml = "<ObjectConfigurations>\r\n";
    for (int l = 0; l < 35; ++l) {
        xml += "\t<Location>\r\n" + field("Name", "Loc" + n(l)) +
               field("NextLevelTemplate", "Loc" + n(l) + "Next") + field("ColorMatchBonus", "15") +
               field("StaffRechargeTime", "2500") + field("SelfRechargeTime", "4000") +
               field("AutoActivation", "false") + field("ServingMul", "1.5") +
               field("HeartsDecMul", "0.75") + field("DirtyProbability", "0.1") +
               field("MoneyMul", "2") + field("MaxServingClients", "2") +
               field("HeroMountPoint", "10;-20") + field("StaffMountPoint", "30;40") +
               field("ItemMountPoint", "1;2") + field("ItemMountPoint", "3;4") +
               field("ActionCue", "LocCue") + field("RechargingCue", "Recharging") +
               field("RechargedCue", "Recharged") + "\t\t<ProvidedResources>\r\n";
        for (int r = 0; r < 3; ++r)
            xml += "\t\t\t<Resource Name=\"Res" + n((l + r * 7) % 40) +
                   "\" InitialAmount=\"2\" MaxAmount=\"5\"/>\r\n";
        xml += "\t\t</ProvidedResources>\r\n" + field("ClientMountPoint", "100;200") +
               field("ActionClientMountPoint", "7;8;0.5");
        for (int c = 0; c < 5; ++c) {
            xml += "\t\t<ClientMountPoint Value=\"5;5\" Client=\"Client" + n(c) + "\"/>\r\n";
            xml +=
                "\t\t<ActionClientMountPoint Value=\"1;1;1\" Client=\"Client" + n(c) + "\"/>\r\n";
        }
        xml += "\t</Location>\r\n";
    }
    return xml + "</ObjectConfigurations>\r\n";
}

std::string staff() {
    std::string xml = "<ObjectConfigurations>\r\n";
    for (int s = 0; s < 12; ++s) {
        xml += "\t<Staff>\r\n" + field("Name", "Staff" + n(s)) +
               field("Template", "StaffTemplate" + n(s)) + field("Level", n(s % 3)) +
               field("Velocity", "250") + field("StandAnimationsCount", "3") +
               "\t\t<ProvidedResources>\r\n\t\t\t<Resource Name=\"Res5\"/>\r\n"
               "\t\t</ProvidedResources>\r\n\t</Staff>\r\n";
    }
    return xml + "</ObjectConfigurations>\r\n";
}

std::string clients() {
    std::string xml = "<ObjectConfigurations>\r\n";
    for (int c = 0; c < 15; ++c) {
        xml += "\t<Client>\r\n" + field("Name", "Client" + n(c)) +
               field("TemplateName", "ClientTemplate" + n(c)) + field("InitialHearts", "5") +
               field("SecondsPerHeartQueue", "15") + field("SecondsPerHeartScene", "15") +
               field("SuperPadMinHearts", "4") + field("SuperPadClicks", "3") +
               field("PatienceLevel", n(c % 3)) + "\t\t<ResourceTimings>\r\n";
        for (int r = 0; r < 20; ++r)
            xml += "\t\t\t<Resource Name=\"Res" + n(r) +
                   "\" ServedByStaffTime=\"1000\" ServedBySelfTime=\"2000\"/>\r\n";
        xml += "\t\t</ResourceTimings>\r\n\t\t<TalkActions TalksWaitTime=\"8000\">\r\n";
        for (int t = 0; t < 5; ++t)
            xml += "\t\t\t<Client Client=\"Client" + n(t) + "\" SecondsPerHeart=\"6\"/>\r\n";
        xml += "\t\t</TalkActions>\r\n" + field("NeigbhoursServMul", "1.2") +
               field("IsMan", n(c % 2)) + "\t</Client>\r\n";
    }
    return xml + "</ObjectConfigurations>\r\n";
}

std::string wishLists() {
    std::string xml = "<ObjectConfigurations>\r\n";
    for (int w = 0; w < 80; ++w) {
        xml += "\t<ClientWishList Name=\"Wish" + n(w) + "\">\r\n";
        for (int g = 0; g < 2; ++g) {
            xml += "\t\t<Resource Name=\"Group" + n(g) + "\" Filter=\"Any\">\r\n";
            for (int l = 0; l < 3; ++l)
                xml += "\t\t\t<Resource Name=\"Res" + n((w + g * 3 + l) % 40) + "\"/>\r\n";
            xml += "\t\t</Resource>\r\n";
        }
        xml += "\t</ClientWishList>\r\n";
    }
    return xml + "</ObjectConfigurations>\r\n";
}

std::string queueEntry(int e) {
    if (e % 3 != 2) {
        return "\t\t\t<Client Name=\"Client" + n(e % 15) + "\" Time=\"3000\" RefClient=\"" +
               n(e > 0 ? e : 1) + "\" RefClientEndActions=\"Res1;Res2\" WishLists=\"Wish" +
               n(e % 80) + (e % 2 ? ";Wish" + n((e + 7) % 80) : "") + "\" Colors=\"1;2\"/>\r\n";
    }
    std::string xml = "\t\t\t<Pair CI=\"Client" + n(e % 15) + "\" AT=\"1500\" ARC=\"" + n(e) +
                      "\" ARCP=\"2\" ARCSA=\"Res3\">\r\n";
    for (int c = 0; c < 2; ++c) {
        xml += "\t\t\t\t<Client C=\"" + n(c + 1) + "\" SD=\"1\" ClD=\"1\">\r\n";
        for (int o = 0; o < 3; ++o)
            xml += "\t\t\t\t\t<Order Res=\"Res" + n((e + o) % 40) +
                   "\">\r\n\t\t\t\t\t\t<Item R=\"Res4\" RM=\"1;2\" A=\"1\" T=\"100;200\" "
                   "D=\"1\"/>\r\n\t\t\t\t\t</Order>\r\n";
        xml += "\t\t\t\t\t<Order Res=\"CheckOut\"/>\r\n\t\t\t\t</Client>\r\n";
    }
    return xml + "\t\t\t</Pair>\r\n";
}

std::string levels() {
    std::string xml = "<LevelsConfiguration SwapBonus=\"10\" SuperDanceClickWaitTime=\"5000\">\r\n"
                      "\t<ChainBonuses>\r\n";
    for (int c = 0; c < 6; ++c)
        xml +=
            "\t\t<Chain Name=\"Chain" + n(c) + "\" Text=\"%Chain" + n(c) + "%\" Money=\"5\"/>\r\n";
    xml += "\t</ChainBonuses>\r\n\t<NextClientPlaceBoosts>\r\n";
    for (int b = 0; b < 10; ++b)
        xml += "\t\t<Client Name1=\"Client" + n(b) +
               "\" Name2=\"Client1;Client2\" "
               "Hearts1=\"0.5\" Hearts2=\"0.25\" Probability=\"0.3\"/>\r\n";
    xml += "\t</NextClientPlaceBoosts>\r\n";
    for (int l = 0; l < 66; ++l) {
        xml += "\t<Level>\r\n" + field("SettingIndex", n(l / 11)) + field("ColorsCount", "3") +
               field("LevelTime", "180") + field("TargetMoney", "1000") +
               field("TargetExpertMoney", "1500") + field("TargetMasterMoney", "2000") +
               field("TargetHearts", "40") + field("TargetExpertHearts", "60") +
               field("HeroType", "Staff0") + field("MasseurType", "Staff1") +
               field("FitnessType", "Staff2") + field("NewClientName", "Client" + n(l % 15)) +
               field("ClientHappinessDecreaseMul", "1") + "\t\t<ClientsQueue>\r\n";
        for (int e = 0; e < 35; ++e)
            xml += queueEntry(e);
        xml += "\t\t</ClientsQueue>\r\n\t\t<LocationTypes>\r\n";
        for (int t = 0; t < 8; ++t)
            xml += "\t\t\t<Location Place=\"Place" + n(t) + "\" Template=\"Loc" + n(t) +
                   "\" Color=\"" + n(t % 4) + "\"/>\r\n";
        xml +=
            "\t\t</LocationTypes>\r\n" + field("Upgrades", "Loc1;Loc2;Staff0") + "\t</Level>\r\n";
    }
    return xml + "</LevelsConfiguration>\r\n";
}

std::string upgrades() {
    std::string xml = "<Upgrades>\r\n";
    const char* const groups[] = {"Locations", "Staff", "Env"};
    for (int l = 0; l < 11; ++l) {
        xml += "\t<Level Index=\"" + n(l + 1) + "\">\r\n";
        for (int g = 0; g < 3; ++g) {
            xml += std::string("\t\t<") + groups[g] + ">\r\n";
            for (int u = 0; u < (g == 0 ? 6 : 3); ++u)
                xml += "\t\t\t<U Price=\"" + n(l * 100) + "\" Type=\"Type" + n(l) + "\" Name=\"" +
                       groups[g] + n(u) + "\" RecommendedLevel=\"" + n(l + 2) + "\"/>\r\n";
            xml += std::string("\t\t</") + groups[g] + ">\r\n";
        }
        xml += "\t</Level>\r\n";
    }
    return xml + "</Upgrades>\r\n";
}

struct ContentSet {
    // In reading order: resources, locations, staff, clients, wish lists, levels, upgrades.
    std::vector<std::string> documents;
    size_t bytes = 0;
};

const ContentSet& contentSet() {
    static const ContentSet set = [] {
        ContentSet built;
        built.documents = {resources(), locations(), staff(), clients(), wishLists(), levels()};
        for (int s = 0; s < 5; ++s)
            built.documents.push_back(upgrades());
        for (std::string& document : built.documents) {
            document = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n" + document;
            built.bytes += document.size();
        }
        return built;
    }();
    return set;
}

CRefPointer<CXmlTextReader> readerOver(const std::string& document) {
    CRefPointer<CMemoryBlockFile> file(
        new CMemoryBlockFile(reinterpret_cast<uint8_t*>(const_cast<char*>(document.data())),
                             int32_t(document.size()), u"config.xml", false));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

// What the intro and the level-loading screen do, on the bytes in memory.
uint32_t readGameConfiguration(const ContentSet& set, const CProperties& profile) {
    CRefPointer<ObjectConfigurations> objects(new ObjectConfigurations);
    for (size_t i = 0; i < 5; ++i) {
        objects->load(*readerOver(set.documents[i]));
        if (i == 0)
            objects->deriveModifiedResources();
        else if (i == 1)
            objects->resolveLocationResources();
    }
    CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
    levels->load(*readerOver(set.documents[5]), objects.get());
    uint32_t total = levels->getLevelCount() + objects->getResources().size();
    for (size_t i = 6; i < set.documents.size(); ++i) {
        CRefPointer<UpgradeCatalog> catalog(new UpgradeCatalog);
        catalog->load(*readerOver(set.documents[i]));
        catalog->applyLevel(5, CString("Level4"), &profile);
        total += uint32_t(catalog->sumOfCurrent());
    }
    return total;
}

// Streams every node and attribute with our reader alone, without building records.
uint32_t streamVantor(const ContentSet& set) {
    uint32_t total = 0;
    for (const std::string& document : set.documents) {
        CRefPointer<CXmlTextReader> reader = readerOver(document);
        while (reader->readNext())
            total += uint32_t(reader->attributeCount());
    }
    return total;
}

void XMLCALL countStart(void* data, const XML_Char*, const XML_Char** attributes) {
    uint32_t& total = *static_cast<uint32_t*>(data);
    for (; *attributes != nullptr; attributes += 2)
        ++total;
}

void XMLCALL countEnd(void*, const XML_Char*) {}

uint32_t parseExpat(const ContentSet& set) {
    uint32_t total = 0;
    for (const std::string& document : set.documents) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &total);
        XML_SetElementHandler(parser, countStart, countEnd);
        if (XML_Parse(parser, document.data(), int(document.size()), XML_TRUE) != XML_STATUS_OK)
            total = 0;
        XML_ParserFree(parser);
    }
    return total;
}

void runConfigReaders(benchmark::State& state) {
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    const ContentSet& set = contentSet();
    CRefPointer<CProperties> profile(new CProperties);
    profile->setString("Level4Locations", CString("Locations0;Type3;Locations1;Type2"));
    for (auto _ : state)
        benchmark::DoNotOptimize(readGameConfiguration(set, *profile));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set.bytes));
}

template <uint32_t (*Parse)(const ContentSet&)>
void runParse(benchmark::State& state) {
    const ContentSet& set = contentSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(Parse(set));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(set.bytes));
}

BENCHMARK(runConfigReaders)->Name("GameConfigVsExpat/vantor/all");
BENCHMARK(runParse<parseExpat>)->Name("GameConfigVsExpat/expat/all");
BENCHMARK(runParse<streamVantor>)->Name("GameConfigXmlOnlyVsExpat/vantor/all");
BENCHMARK(runParse<parseExpat>)->Name("GameConfigXmlOnlyVsExpat/expat/all");

} // namespace
