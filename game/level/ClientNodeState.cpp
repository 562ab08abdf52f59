#include "engine/core/Logger.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ConfigValues.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/level/SavedLevelValues.h"
#include "game/level/StaffNode.h"

// A client in the saved level: its "Client" element, written and read back into a client made
// afresh from its template.

namespace {

constexpr int32_t kStateCount = GClientNode::kStateAtCheckOut + 1;
constexpr int32_t kColorCount = GGameLevelScene::kColorCount;
constexpr float kMaxSavedMoney = 1000000;

// The first node, depth first, that names a resource and has a parent.
GClientWishList* firstNamedNode(GClientWishList& node) {
    for (const CRefPointer<GClientWishList>& child : node.getChildren()) {
        if (child->name != CNameId())
            return child.get();
        if (GClientWishList* found = firstNamedNode(*child))
            return found;
    }
    return nullptr;
}

} // namespace

void GClientNode::saveState(CXmlTextWriter& writer) {
    const CStringW name = savedNameText(getName());
    const CStringW type = savedNameText(m_clientConfig ? m_clientConfig->name : CNameId());
    writer.openElement(u"Client", false, u"Name", name.c_str(), u"Type", type.c_str());
    writer.writeNewLine();
    writeSavedInt(writer, u"Color", getColor());
    writeSavedInt(writer, u"ClientState", m_clientState);
    writeSavedInt(writer, u"ClientStateTime", m_clientStateTime);
    if (const GLocationNode* location = getLocation())
        writeSavedName(writer, u"Location", location->getName());
    if (const GStaffNode* staff = getStaff())
        writeSavedName(writer, u"Staff", staff->getName());
    writeSavedInt(writer, u"VisitedLocationCount", m_visitedLocationCount);
    if (const GClientNode* leader = getParentLinker())
        writeSavedName(writer, u"ParentLinker", leader->getName());
    if (m_queuedClient != nullptr)
        writeSavedText(writer, u"SingleClient", queuedClientPosition());
    if (m_wishList)
        m_wishList->save(writer);
    writeSavedInt(writer, u"CurrentOrderIndex", m_currentOrderIndex);
    if (const GClientWishList* leaf = getChosenLeaf())
        writeSavedFloat(writer, u"CurrentOrderTime", leaf->orderTime);
    saveItemRequests(writer);
    writeSavedFloat(writer, u"Money", m_money);
    writeSavedFloat(writer, u"Hearts", m_hearts);
    writeSavedInt(writer, u"TotalStaffServeTime", m_totalStaffServeTime);
    writeSavedInt(writer, u"TotalSelfServeTime", m_totalSelfServeTime);
    writeSavedInt(writer, u"AdditionalStaffTime", m_additionalStaffTime);
    writeSavedFloat(writer, u"ServingSpeedMul", m_servingSpeedMul);
    writer.closeElement(u"Client");
    writer.writeNewLine();
}

// The entry and the client within it whose record is this client's, searched in the level's
// queue; "-1;0" when it is not there.
CStringW GClientNode::queuedClientPosition() const {
    const GGameLevelScene* level = getLevel();
    if (level == nullptr)
        return CStringW(u"-1;0");
    const CArray<GClientQueueEntry>& entries = level->queueEntries();
    for (uint32_t e = 0; e < entries.size(); ++e) {
        const CArray<GQueuedClient>& clients = entries[e].clients;
        for (uint32_t c = 0; c < clients.size(); ++c) {
            if (&clients[c] == m_queuedClient)
                return CStringW(e).append(u";").append(c);
        }
    }
    return CStringW(u"-1;0");
}

void GClientNode::saveItemRequests(CXmlTextWriter& writer) const {
    const CStringW current(m_currentItemRequest);
    const bool isEmpty = m_itemRequests.size() == 0;
    writer.openElement(u"AdditionalItemRequests", isEmpty, u"CurrentAdditionalItemIndex",
                       current.c_str());
    writer.writeNewLine();
    if (isEmpty)
        return;
    for (const ItemRequest& request : m_itemRequests) {
        const CStringW name = savedNameText(request.resource);
        const CStringW time(request.time);
        writer.openElement(u"I", true, u"Name", name.c_str(), u"Time", time.c_str());
        writer.writeNewLine();
    }
    writer.closeElement(u"AdditionalItemRequests");
    writer.writeNewLine();
}

void GClientNode::loadState(CXmlTextReader& reader) {
    const CRefPointer<GClientNode> self = CRefPointer<GClientNode>::share(this);
    setName(readNameAttribute(reader, u"Name"));
    readElementsUntilEnd(reader, u"Client", [&] { loadStateElement(reader); });
    // Indices that point past their lists would be followed by play.
    const int32_t orders = m_currentWish ? int32_t(m_currentWish->getChildren().size()) : 0;
    if (m_currentOrderIndex != -1 && !isSavedIndexIn(m_currentOrderIndex, orders, u"order index"))
        m_currentOrderIndex = -1;
    const int32_t stateTime = m_clientStateTime;
    setState(m_clientState);
    m_clientStateTime = stateTime;
    setVisible(true);
    setCanBeHit(true);
    if (m_nameLabel)
        m_nameLabel->setText(savedNameText(getName()));
    updateWishIcons(false);
    const GClientWishList* leaf = getChosenLeaf();
    GResourceConfig* resource = leaf != nullptr ? findResource(leaf->name) : nullptr;
    if ((m_clientState == kStateServedByStaff || m_clientState == kStateSelfServing) &&
        resource != nullptr)
        playActionAnimation(*resource, 1.0f);
}

void GClientNode::loadStateElement(CXmlTextReader& reader) {
    GGameLevelScene* level = getLevel();
    if (reader.nameIs(u"Color")) {
        const int32_t color = readIntValue(reader);
        if (isSavedIndexIn(color, kColorCount, u"client colour"))
            setColor(color);
    } else if (reader.nameIs(u"ClientState")) {
        const int32_t state = readIntValue(reader);
        if (isSavedIndexIn(state, kStateCount, u"client state"))
            m_clientState = state;
    } else if (reader.nameIs(u"ClientStateTime")) {
        m_clientStateTime = readSavedCount(reader);
    } else if (reader.nameIs(u"VisitedLocationCount")) {
        m_visitedLocationCount = readSavedCount(reader);
    } else if (reader.nameIs(u"CurrentOrderIndex")) {
        m_currentOrderIndex = readIntValue(reader);
    } else if (reader.nameIs(u"TotalStaffServeTime")) {
        m_totalStaffServeTime = readSavedCount(reader);
    } else if (reader.nameIs(u"TotalSelfServeTime")) {
        m_totalSelfServeTime = readSavedCount(reader);
    } else if (reader.nameIs(u"AdditionalStaffTime")) {
        m_additionalStaffTime = readSavedCount(reader);
    } else if (reader.nameIs(u"Staff")) {
        m_staff = level != nullptr ? level->findStaff(readNameValue(reader)) : nullptr;
    } else if (reader.nameIs(u"ParentLinker")) {
        linkRestoredLeader(level != nullptr ? level->findClient(readNameValue(reader)) : nullptr);
    } else if (reader.nameIs(u"SingleClient")) {
        loadQueuedClient(reader);
    } else if (reader.nameIs(u"ClientWishList")) {
        m_wishList = CRefPointer<GClientWishList>(new GClientWishList(nullptr));
        m_wishList->load(reader);
        GClientWishList* named = firstNamedNode(*m_wishList);
        m_currentWish = named != nullptr ? named->getParent() : nullptr;
    } else if (reader.nameIs(u"CurrentOrderTime")) {
        if (GClientWishList* leaf = getChosenLeaf())
            leaf->orderTime = readSavedFloat(reader, 0, float(kMaxSavedCount), 0);
    } else if (reader.nameIs(u"AdditionalItemRequests")) {
        loadItemRequests(reader);
    } else if (reader.nameIs(u"Money")) {
        m_money = readSavedFloat(reader, -kMaxSavedMoney, kMaxSavedMoney, m_money);
    } else if (reader.nameIs(u"Hearts")) {
        m_hearts = readSavedFloat(reader, 0, float(m_maxHearts), m_hearts);
    } else if (reader.nameIs(u"ServingSpeedMul")) {
        m_servingSpeedMul = readSavedFloat(reader, 0, 1000, m_servingSpeedMul);
    }
}

// A link that would close a circle of clients, or take another client's place behind its
// leader, is refused: the group would never end, or leave a client half linked.
void GClientNode::linkRestoredLeader(GClientNode* leader) {
    if (leader == nullptr)
        return;
    bool circular = leader == this || isFollowerOf(leader);
    for (const GClientNode* up = leader->getParentLinker(); up != nullptr && !circular;
         up = up->getParentLinker())
        circular = up == this;
    if (circular || m_parentLinker || leader->getFollower() != nullptr) {
        CLogger::instance()->log(u"Saved level: the client " + savedNameText(getName()) +
                                     u" cannot follow " + savedNameText(leader->getName()),
                                 CLogger::LevelWarning);
        return;
    }
    leader->setFollower(this);
}

void GClientNode::loadQueuedClient(const CXmlTextReader& reader) {
    const CArray<int> indices = readIntListAttribute(reader, kValueAttribute);
    const GGameLevelScene* level = getLevel();
    if (indices.size() < 2 || level == nullptr)
        return;
    const CArray<GClientQueueEntry>& entries = level->queueEntries();
    const uint32_t entry = uint32_t(indices[0]);
    const uint32_t client = uint32_t(indices[1]);
    if (entry < entries.size() && client < entries[entry].clients.size())
        m_queuedClient = &entries[entry].clients[client];
}

void GClientNode::loadItemRequests(CXmlTextReader& reader) {
    m_itemRequests = CArray<ItemRequest>();
    m_currentItemRequest = reader.getAttributeInt(u"CurrentAdditionalItemIndex", -1);
    readElementsUntilEnd(reader, u"AdditionalItemRequests", [&] {
        if (reader.nameIs(u"I"))
            m_itemRequests.append(ItemRequest{readNameAttribute(reader, u"Name"),
                                              readSavedInt(reader, u"Time", 0, kMaxSavedCount)});
    });
    if (m_currentItemRequest != -1 &&
        !isSavedIndexIn(m_currentItemRequest, int32_t(m_itemRequests.size()), u"item request"))
        m_currentItemRequest = -1;
}

void GClientNode::linkRestoredLocation(GLocationNode& location) {
    m_location = &location;
    location.addClient(this);
    placeAtLocation();
}
