#include <algorithm>
#include <cmath>

#include "engine/core/StringFunctions.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ConfigValues.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/SavedLevelValues.h"
#include "game/level/StaffNode.h"

// A location in the saved level: its "Location" element, written and read back into the same
// location of a level built afresh. The clients are restored before it and the hero and staff
// before them, so that it can link them by name.

namespace {

constexpr int32_t kStateCount = GLocationNode::kStateActionAnimation + 1;

void writeCharacter(CXmlTextWriter& writer, const char16_t* element,
                    const GCharacterNode* character) {
    if (character != nullptr)
        writeSavedName(writer, element, character->getName());
}

void writeResources(CXmlTextWriter& writer, const CArray<LocationResource>& resources) {
    const bool isEmpty = resources.size() == 0;
    writer.openElement(u"ProvidedResources", isEmpty);
    writer.writeNewLine();
    if (isEmpty)
        return;
    for (const LocationResource& resource : resources) {
        const CStringW name = savedNameText(resource.name);
        const CStringW initial(resource.initialAmount);
        const CStringW maximum(resource.maxAmount);
        const CStringW amount(resource.amount);
        writer.openElement(u"R", true, u"Name", name.c_str(), u"InitialAmount", initial.c_str(),
                           u"MaxAmount", maximum.c_str(), u"Amount", amount.c_str());
        writer.writeNewLine();
    }
    writer.closeElement(u"ProvidedResources");
    writer.writeNewLine();
}

// An amount within what the resource can hold, so that play never counts from nonsense.
LocationResource readResource(const CXmlTextReader& reader) {
    LocationResource resource;
    resource.name = readNameAttribute(reader, u"Name");
    resource.initialAmount = readSavedInt(reader, u"InitialAmount", -1, kMaxSavedCount);
    resource.maxAmount = readSavedInt(reader, u"MaxAmount", -1, kMaxSavedCount);
    const float amount = reader.getAttributeFloat(u"Amount", 0);
    const float most = resource.maxAmount > 0 ? float(resource.maxAmount) : float(kMaxSavedCount);
    resource.amount = std::isfinite(amount) ? std::clamp(amount, -1.0f, most) : 0;
    return resource;
}

} // namespace

void GLocationNode::saveState(CXmlTextWriter& writer) {
    const CStringW name = savedNameText(getName());
    writer.openElement(u"Location", false, u"Name", name.c_str());
    writer.writeNewLine();
    writeSavedInt(writer, u"Color", getColor());
    writeSavedInt(writer, u"LocationState", m_state);
    writeSavedInt(writer, u"LocationStateTime", m_stateTime);
    if (hasClients()) {
        CArray<CNameId> names;
        for (const GObjectRef<GCharacterNode>& client : m_clients) {
            if (client)
                names.append(client->getName());
        }
        writeSavedText(writer, u"Clients", joinNameIds(names));
    }
    writeCharacter(writer, u"Hero", getHero());
    writeCharacter(writer, u"Staff", getStaff());
    writeCharacter(writer, u"Recharger", getRecharger());
    writeSavedName(writer, u"ActionAnimationRes", m_actionResource);
    writeSavedInt(writer, u"ActionAnimationTime", m_actionTime);
    writeSavedInt(writer, u"StaffRechargeTime", m_staffRechargeTime);
    writeSavedInt(writer, u"SelfRechargeTime", m_selfRechargeTime);
    if (m_config)
        writeSavedName(writer, u"LocationType", m_config->name);
    writeResources(writer, m_resources);
    writeSavedInt(writer, u"ColorMatchCounts", m_colorMatchCount);
    writer.closeElement(u"Location");
    writer.writeNewLine();
}

void GLocationNode::loadState(CXmlTextReader& reader) {
    const CRefPointer<GLocationNode> self = CRefPointer<GLocationNode>::share(this);
    int32_t stateTime = m_stateTime;
    readElementsUntilEnd(reader, u"Location", [&] {
        if (reader.nameIs(u"LocationStateTime"))
            stateTime = readSavedCount(reader);
        else
            loadStateElement(reader);
    });
    setState(m_state);
    m_stateTime = stateTime;
    updateCapacityDisplay();
    updateRechargeProgress();
    GGameLevelScene* level = getLevel();
    if (level == nullptr)
        return;
    if (GStaffNode* hero = level->getHero())
        hero->claimTasksAt(*this);
    for (const GObjectRef<GStaffNode>& member : level->getStaff()) {
        if (member)
            member->claimTasksAt(*this);
    }
}

void GLocationNode::loadStateElement(CXmlTextReader& reader) {
    GGameLevelScene* level = getLevel();
    if (reader.nameIs(u"Color")) {
        const int32_t color = readIntValue(reader);
        if (isSavedIndexIn(color, GGameLevelScene::kColorCount, u"location colour"))
            setColor(color);
    } else if (reader.nameIs(u"LocationState")) {
        const int32_t state = readIntValue(reader);
        if (isSavedIndexIn(state, kStateCount, u"location state"))
            m_state = state;
    } else if (reader.nameIs(u"Clients")) {
        for (const CNameId name : readSavedNameList(reader, kValueAttribute))
            linkRestoredClient(level != nullptr ? level->findClient(name) : nullptr);
    } else if (reader.nameIs(u"Hero") || reader.nameIs(u"Staff") || reader.nameIs(u"Recharger")) {
        GStaffNode* member = level != nullptr ? level->findStaff(readNameValue(reader)) : nullptr;
        if (member != nullptr)
            linkRestoredStaff(*member, reader.nodeName());
    } else if (reader.nameIs(u"ActionAnimationRes")) {
        m_actionResource = readNameValue(reader);
    } else if (reader.nameIs(u"ActionAnimationTime")) {
        m_actionTime = readSavedCount(reader);
    } else if (reader.nameIs(u"StaffRechargeTime")) {
        m_staffRechargeTime = readSavedCount(reader);
    } else if (reader.nameIs(u"SelfRechargeTime")) {
        m_selfRechargeTime = readSavedCount(reader);
    } else if (reader.nameIs(u"ProvidedResources")) {
        m_resources = CArray<LocationResource>();
        readElementsUntilEnd(reader, u"ProvidedResources", [&] {
            if (reader.nameIs(u"R"))
                m_resources.append(readResource(reader));
        });
    } else if (reader.nameIs(u"ColorMatchCounts")) {
        // The colour counts the streak up again, which shows it; a location that never had a
        // client has none to show.
        const int32_t count = readSavedInt(reader, kValueAttribute, 0, kMaxSavedCount);
        m_colorMatchCount = count - 1;
        if (count > 0)
            setColor(getColor());
        else
            m_colorMatchCount = 0;
    }
}

// A client stands at one location: one that another location holds already stays there.
void GLocationNode::linkRestoredClient(GClientNode* client) {
    if (client != nullptr && client->getLocation() == nullptr)
        client->linkRestoredLocation(*this);
}

void GLocationNode::linkRestoredStaff(GStaffNode& member, const CStringW& role) {
    member.setLocation(this);
    CVector2d mount = getStaffMountPoint();
    if (role == u"Hero") {
        m_hero = &member;
        mount = getHeroMountPoint();
    } else if (role == u"Staff") {
        m_staff = &member;
    } else {
        m_recharger = &member;
    }
    // One saved on its way walks here again from where the level put it.
    if (member.getStaffState() == GStaffNode::kStateWalking)
        return;
    const CVector3d& at = getPosition();
    member.setPosition({at.x + mount.x, at.y + mount.y, at.y + mount.y + 1.0f});
}
