#include <algorithm>

#include "engine/core/StringFunctions.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/ConfigValues.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/SavedLevelValues.h"
#include "game/level/StaffNode.h"

// The saved level, "save.dat": a snapshot of the running simulation that the developer writes
// and restores into the same level built afresh. Its parts are restored in the order they are
// written, so that every name finds its node: the spawn records, the staff, the clients, and
// then the locations, which link the characters that stand at them.

namespace {

constexpr uint32_t kMemoryBlockSize = 16384;
constexpr float kMaxSavedMoney = 1.0e9f;

void openList(CXmlTextWriter& writer, const char16_t* element) {
    writer.openElement(element, false);
    writer.writeNewLine();
}

void closeList(CXmlTextWriter& writer, const char16_t* element) {
    writer.closeElement(element);
    writer.writeNewLine();
}

} // namespace

// The XML writer reports no failure, so the file is made in memory and then written whole.
bool GGameLevelScene::writeSaveFile(const CStringW& folder) {
    IVirtualFileSystem* files = getFileSystem();
    if (files == nullptr)
        return failSave(u"level", folder + u"/save.dat", u"the level has no file system");
    const CRefPointer<CVirtualFile> memory(new CVirtualFile(u"save.dat", kMemoryBlockSize));
    save(*files->openXmlWriter(CRefPointer<IOutputFile>::share(memory.get())));
    return writeThroughNewFile(folder, u"save.dat", u"level", *memory);
}

bool GGameLevelScene::readSaveFile(const CStringW& folder) {
    IVirtualFileSystem* files = getFileSystem();
    const CRefPointer<CXmlTextReader> reader = files != nullptr && !folder.isEmpty()
                                                   ? files->openXmlReader(folder + u"/save.dat")
                                                   : nullptr;
    if (!reader)
        return false;
    load(*reader);
    return true;
}

void GGameLevelScene::save(CXmlTextWriter& writer) {
    writer.writeHeader();
    openList(writer, u"SaveData");
    writeSavedInt(writer, u"WasClosed", m_closed ? 1 : 0);
    writeSavedInt(writer, u"ServedClients", m_servedClients);
    writeSavedInt(writer, u"LostClients", m_lostClients);
    CArray<int> money;
    for (const float displayed : m_displayedMoney)
        money.append(int(displayed));
    writeSavedText(writer, u"Money", CStringW(joinIntList(money).c_str()));
    writeSavedFloat(writer, u"Hearts", m_heartsTotal);
    writeSavedInt(writer, u"ElapsedTime", m_elapsedMs);
    saveTrackedClients(writer);
    writeSavedName(writer, u"ChainType", m_chainType);
    writeSavedInt(writer, u"ChainSize", m_chainSize);
    openList(writer, u"Staff");
    // A level without a hero writes none.
    if (GHeroNode* hero = getHero())
        hero->saveState(writer);
    for (const GObjectRef<GStaffNode>& member : m_staff) {
        if (member)
            member->saveState(writer);
    }
    closeList(writer, u"Staff");
    openList(writer, u"Clients");
    for (uint32_t i = 0; m_charactersNode && i < m_charactersNode->getChildCount(); ++i) {
        if (GClientNode* client = asGClientNode(m_charactersNode->getChild(i)))
            client->saveState(writer);
    }
    closeList(writer, u"Clients");
    openList(writer, u"ClientAppearLocations");
    for (const CRefPointer<GLocationNode>& slot : m_queueSlots)
        slot->saveState(writer);
    closeList(writer, u"ClientAppearLocations");
    openList(writer, u"Locations");
    for (const CRefPointer<GLocationNode>& location : m_locations)
        location->saveState(writer);
    closeList(writer, u"Locations");
    closeList(writer, u"SaveData");
}

void GGameLevelScene::saveTrackedClients(CXmlTextWriter& writer) const {
    openList(writer, u"TrackedClients");
    for (const SpawnRecord& record : m_spawnRecords) {
        CArray<CNameId> names;
        for (const GObjectRef<GClientNode>& client : record.enteredClients)
            names.append(client ? client->getName() : nameOf("None"));
        const CStringW spawned(record.spawned ? 1 : 0);
        const CStringW countdown(record.countdown);
        writer.openElement(u"C", true, u"WasInGame", spawned.c_str(), u"TimeBeforeInGame",
                           countdown.c_str(), u"Clients", joinNameIds(names).c_str());
        writer.writeNewLine();
    }
    closeList(writer, u"TrackedClients");
}

void GGameLevelScene::load(CXmlTextReader& reader) {
    const CRefPointer<GGameLevelScene> self = CRefPointer<GGameLevelScene>::share(this);
    while (reader.readNext() && !isEndElement(reader, u"SaveData")) {
        if (reader.nodeKind() == CXmlTextReader::kElement)
            loadElement(reader);
    }
    for (const GObjectRef<GStaffNode>& member : m_staff) {
        if (member)
            member->resumeAfterRestore();
    }
    if (GHeroNode* hero = getHero())
        hero->resumeAfterRestore();
}

void GGameLevelScene::loadElement(CXmlTextReader& reader) {
    if (reader.nameIs(u"WasClosed")) {
        m_closed = readIntValue(reader) == 1;
    } else if (reader.nameIs(u"ServedClients")) {
        m_servedClients = readSavedCount(reader);
    } else if (reader.nameIs(u"LostClients")) {
        m_lostClients = readSavedCount(reader);
    } else if (reader.nameIs(u"ElapsedTime")) {
        m_elapsedMs = readSavedCount(reader);
    } else if (reader.nameIs(u"ChainSize")) {
        m_chainSize = readSavedCount(reader);
    } else if (reader.nameIs(u"Money")) {
        loadMoney(readIntListAttribute(reader, kValueAttribute));
    } else if (reader.nameIs(u"Hearts")) {
        m_heartsTotal = readSavedFloat(reader, 0, float(kMaxSavedCount), m_heartsTotal);
    } else if (reader.nameIs(u"TrackedClients")) {
        loadTrackedClients(reader);
    } else if (reader.nameIs(u"ChainType")) {
        m_chainType = readNameValue(reader);
    } else if (reader.nameIs(u"Clients")) {
        loadClients(reader);
    } else if (reader.nameIs(u"Staff")) {
        loadStaffStates(reader);
    } else if (reader.nameIs(u"ClientAppearLocations")) {
        loadAppearLocationStates(reader);
    } else if (reader.nameIs(u"Locations")) {
        loadLocationStates(reader);
    }
}

// The money earned is restored with the money shown, or the display would run back to nothing.
void GGameLevelScene::loadMoney(const CArray<int>& amounts) {
    for (uint32_t i = 0; i < amounts.size() && i < uint32_t(kMoneyComponents); ++i) {
        const float amount = std::clamp(float(amounts[i]), -kMaxSavedMoney, kMaxSavedMoney);
        m_displayedMoney[i] = amount;
        m_money[i] = amount;
    }
}

// A record keeps no more places than its entry has clients.
void GGameLevelScene::loadTrackedClients(CXmlTextReader& reader) {
    uint32_t index = 0;
    readElementsUntilEnd(reader, u"TrackedClients", [&] {
        if (!reader.nameIs(u"C") || index >= m_spawnRecords.size())
            return;
        SpawnRecord& record = m_spawnRecords[index];
        const CArray<GClientQueueEntry>& entries = queueEntries();
        const uint32_t places = index < entries.size() ? entries[index].clients.size() : 0;
        ++index;
        record.spawned = readFlagAttribute(reader, u"WasInGame");
        record.countdown =
            readSavedInt(reader, u"TimeBeforeInGame", -kMaxSavedCount, kMaxSavedCount);
        record.clientNames = readSavedNameList(reader, u"Clients");
        while (record.clientNames.size() > places)
            record.clientNames.eraseAt(record.clientNames.size() - 1);
        record.enteredClients = CArray<GObjectRef<GClientNode>>();
        for (uint32_t i = 0; i < record.clientNames.size(); ++i)
            record.enteredClients.append(nullptr);
    });
}

void GGameLevelScene::loadClients(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"Clients", [&] {
        if (reader.nameIs(u"Client"))
            loadClient(reader);
    });
}

// A client of a type that cannot be made is skipped; its content is read past.
void GGameLevelScene::loadClient(CXmlTextReader& reader) {
    GClientConfig* config =
        m_objectConfigs ? m_objectConfigs->getClientConfig(readNameAttribute(reader, u"Type"))
                        : nullptr;
    SceneManager* manager = getSceneManager();
    TemplateCollectionNode* templates =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    const BaseNode* model = config != nullptr && templates != nullptr
                                ? templates->getTemplate(config->templateName)
                                : nullptr;
    if (model == nullptr || !model->isKindOf(GClientNode::kTypeId) || !m_charactersNode) {
        skipSavedElement(reader);
        return;
    }
    const CRefPointer<BaseNode> clone = model->clone(m_charactersNode.get(), nullptr);
    GClientNode* client = asGClientNode(clone.get());
    client->sendToChildren(RouteSelfThenChildren,
                           *CRefPointer<CEvent>(new CEventNodeTemplatesChanged(templates)));
    client->OnPostSceneNodeInit(templates);
    client->setLevel(this);
    client->setClientData(config, nullptr, nullptr);
    client->loadState(reader);
    relinkTrackedClient(*client);
}

void GGameLevelScene::relinkTrackedClient(GClientNode& client) {
    if (client.getName() == CNameId())
        return;
    for (SpawnRecord& record : m_spawnRecords) {
        for (uint32_t j = 0; j < record.clientNames.size(); ++j) {
            if (record.clientNames[j] == client.getName()) {
                while (record.enteredClients.size() <= j)
                    record.enteredClients.append(nullptr);
                record.enteredClients[j] = &client;
                return;
            }
        }
    }
}

void GGameLevelScene::loadStaffStates(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"Staff", [&] {
        if (!reader.nameIs(u"Staff")) {
            skipSavedElement(reader);
            return;
        }
        GHeroNode* hero = getHero();
        const CNameId name = readNameAttribute(reader, u"Name");
        GStaffNode* member = hero != nullptr && hero->getName() == name ? hero : nullptr;
        for (uint32_t i = 0; member == nullptr && i < m_staff.size(); ++i) {
            if (m_staff[i] && m_staff[i]->getName() == name)
                member = m_staff[i].get();
        }
        if (member != nullptr)
            member->loadState(reader);
        else
            skipSavedElement(reader);
    });
}

void GGameLevelScene::loadAppearLocationStates(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"ClientAppearLocations", [&] {
        const CNameId name = readNameAttribute(reader, u"Name");
        GLocationNode* slot = nullptr;
        for (uint32_t i = 0; slot == nullptr && i < m_queueSlots.size(); ++i) {
            if (m_queueSlots[i]->getName() == name)
                slot = m_queueSlots[i].get();
        }
        loadLocationState(reader, slot);
    });
}

void GGameLevelScene::loadLocationStates(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"Locations", [&] {
        BaseNode* found = m_locationsNode
                              ? m_locationsNode->findChild(readNameAttribute(reader, u"Name"), 1)
                              : nullptr;
        loadLocationState(reader, asGLocationNode(found));
    });
}

// Elements that name no location, and whatever else stands among them, are read past.
void GGameLevelScene::loadLocationState(CXmlTextReader& reader, GLocationNode* location) {
    if (location != nullptr && reader.nameIs(u"Location"))
        location->loadState(reader);
    else
        skipSavedElement(reader);
}
