#include "engine/core/Engine.h"
#include "engine/core/ICursorControl.h"
#include "engine/core/Logger.h"
#include "engine/core/Matrix4.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"

// The level's hero and staff: made from the shop's purchases or the level's configuration, and
// sent to work by the level.

namespace {

// The upgrade of a staff slot that the level shows: the bought one, or in the shop's preview
// the next one while none is bought. False when there is none to show.
bool shownStaffUpgrade(const UpgradeCatalog& catalog, const char* slot, bool preview,
                       CNameId& shown) {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    if (!catalog.getCurrentAndNext(nameOf(slot), current, next))
        return false;
    if (preview && current->type == CNameId()) {
        if (next == nullptr)
            return false;
        shown = next->type;
        return true;
    }
    shown = current->type;
    return true;
}

void warnStaff(CNameId name, const char16_t* reason) {
    CLogger::instance()->log(u"The level makes no staff member \"" +
                                 CStringW(name.toString().c_str()) + u"\": " + reason,
                             CLogger::LevelWarning);
}

} // namespace

GHeroNode* GGameLevelScene::getHero() const {
    return m_hero.get();
}

void GGameLevelScene::setupStaff(const UpgradeCatalog* catalog, bool preview) {
    if (catalog != nullptr) {
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        if (catalog->getCurrentAndNext(nameOf("Hero"), current, next))
            createHero(current->type);
        CNameId shown;
        if (shownStaffUpgrade(*catalog, "Masseur", preview, shown))
            createMasseur(shown);
        if (shownStaffUpgrade(*catalog, "Fitness", preview, shown))
            createFitnessTrainer(shown);
    } else if (m_levelConfig) {
        createHero(m_levelConfig->heroType);
        createMasseur(m_levelConfig->masseurType);
        createFitnessTrainer(m_levelConfig->fitnessType);
    }
    // Cloned at run time, they take their templates once they know the scene manager.
    CArray<CRefPointer<GStaffNode>> members;
    if (GHeroNode* hero = getHero())
        members.append(CRefPointer<GStaffNode>::share(hero));
    for (const GObjectRef<GStaffNode>& member : m_staff) {
        if (member)
            members.append(CRefPointer<GStaffNode>::share(member.get()));
    }
    const CRefPointer<CEvent> attached(new CEventNodeAttached(getSceneManager()));
    for (const CRefPointer<GStaffNode>& member : members) {
        if (!member->OnEvent(*attached))
            member->sendToChildren(RouteSelfThenChildren, *attached);
    }
}

void GGameLevelScene::createHero(CNameId name) {
    dismiss(getHero());
    m_hero = nullptr;
    GStaffNode* hero =
        hireStaff(name == CNameId() ? nameOf("Hero1") : name, GHeroNode::kTypeId, "Hero");
    if (hero == nullptr)
        return;
    m_hero = asGHeroNode(hero);
    if (m_heroPlace) {
        const CVector3d& at = m_heroPlace->getPosition();
        hero->setPosition({at.x, at.y, hero->getPosition().z});
    }
}

void GGameLevelScene::createMasseur(CNameId name) {
    dismiss(findStaff(nameOf("Masseur")));
    GLocationNode* place = nullptr;
    for (uint32_t i = 0; place == nullptr && i < m_masseurPlaces.size(); ++i) {
        if (!m_masseurPlaces[i]->hasClients())
            place = m_masseurPlaces[i].get();
    }
    if (place == nullptr)
        return;
    GStaffNode* masseur = hireStaff(name, GStaffNode::kTypeId, "Masseur");
    if (masseur == nullptr)
        return;
    masseur->setLocation(place);
    masseur->setPosition(place->getPosition());
    m_staff.append(masseur);
}

void GGameLevelScene::createFitnessTrainer(CNameId name) {
    dismiss(findStaff(nameOf("Fitness")));
    if (!m_fitnessPlace || m_fitnessPlace->hasClients())
        return;
    GStaffNode* trainer = hireStaff(name, GStaffNode::kTypeId, "Fitness");
    if (trainer == nullptr)
        return;
    trainer->setLocation(m_fitnessPlace.get());
    const CVector3d& at = m_fitnessPlace->getPosition();
    trainer->setPosition({at.x, at.y, 0.1f * at.x + at.y});
    m_staff.append(trainer);
}

GStaffNode* GGameLevelScene::hireStaff(CNameId name, uint32_t kind, const char* nodeName) {
    GStaffConfig* config = m_objectConfigs ? m_objectConfigs->getStaffConfig(name) : nullptr;
    if (config == nullptr) {
        // A level without such staff names none; only a name without a record is a fault.
        if (name != CNameId())
            warnStaff(name, u"it has no configuration");
        return nullptr;
    }
    const TemplateCollectionNode* templates =
        getSceneManager() != nullptr ? getSceneManager()->getTemplateCollection() : nullptr;
    const BaseNode* model =
        templates != nullptr ? templates->getTemplate(config->templateName) : nullptr;
    if (model == nullptr || !model->isKindOf(kind)) {
        warnStaff(name, model == nullptr ? u"its template is missing"
                                         : u"its template is of another kind");
        return nullptr;
    }
    if (!m_charactersNode)
        return nullptr;
    const CRefPointer<BaseNode> made = model->clone(m_charactersNode.get(), getSceneManager());
    GStaffNode* member = asGStaffNode(made.get());
    member->setName(nameOf(nodeName));
    member->setVisible(true);
    member->setConfig(config);
    member->setLevel(this);
    return member;
}

void GGameLevelScene::dismiss(GStaffNode* member) {
    if (member == nullptr)
        return;
    const CRefPointer<GStaffNode> held = CRefPointer<GStaffNode>::share(member);
    const auto forget = [member](GLocationNode& location) {
        if (location.getHero() == member)
            location.setHero(nullptr);
        if (location.getStaff() == member)
            location.setStaff(nullptr);
    };
    for (const CRefPointer<GLocationNode>& location : m_locations)
        forget(*location);
    for (const CRefPointer<GLocationNode>& place : m_masseurPlaces)
        forget(*place);
    for (const CRefPointer<GLocationNode>& place : {m_fitnessPlace, m_heroPlace}) {
        if (place)
            forget(*place);
    }
    for (uint32_t i = 0; i < m_staff.size();) {
        if (m_staff[i].get() == member || !m_staff[i])
            m_staff.eraseAt(i);
        else
            ++i;
    }
    if (BaseNode* parent = member->getParent())
        parent->removeChild(member);
}

// Work

bool GGameLevelScene::serveClient(GClientNode& client, bool allowHero) {
    const GResourceConfig* requested = client.getRequestedResource();
    GLocationNode* location = client.getLocation();
    const int32_t state = client.getClientState();
    if (state == GClientNode::kStateWaitingForStart && location != nullptr) {
        for (const GObjectRef<GStaffNode>& entry : m_staff) {
            GStaffNode* member = entry.get();
            if (member == nullptr || !member->canServe(*location))
                continue;
            if (requested != nullptr)
                client.setPendingHeartsBoost(requested->heartsBoost);
            client.requestService(member);
            member->enqueueTask(location, client.getName(), GStaffNode::kTaskServe);
            return true;
        }
    }
    GHeroNode* hero = getHero();
    if (hero == nullptr || !allowHero)
        return false;
    if (requested != nullptr && requested->itemType == 2 && state == GClientNode::kStateWantsItem &&
        hero->hasEmptyHand()) {
        GLocationNode* source = findLocationOffering(*requested);
        if (source == nullptr)
            return false;
        client.requestService(hero);
        hero->enqueueTask(source, CNameId(), GStaffNode::kTaskFetch);
        hero->enqueueTask(location, client.getName(), GStaffNode::kTaskServe);
        return true;
    }
    return location != nullptr && sendHeroToLocation(*location);
}

bool GGameLevelScene::sendHeroToLocation(GLocationNode& location) {
    GHeroNode* hero = getHero();
    if (hero == nullptr)
        return false;
    CNameId target = location.getChosenResource();
    int32_t kind = -1;
    const ObjectConfigurations* configs = m_objectConfigs.get();
    bool fetches = false;
    for (uint32_t i = 0; configs != nullptr && i < location.getResources().size(); ++i) {
        const GResourceConfig* resource =
            configs->getResourceConfig(location.getResources()[i].name);
        fetches = fetches || (resource != nullptr && isSpecialItemType(resource->itemType));
    }
    GClientNode* client =
        location.hasClients() ? asGClientNode(location.findNearestClient(cursorPoint())) : nullptr;
    if (location.getState() == GLocationNode::kStateNeedsRecharge) {
        kind = GStaffNode::kTaskRecharge;
    } else if (fetches) {
        kind = GStaffNode::kTaskFetch;
    } else if (location.canRecharge()) {
        kind = GStaffNode::kTaskRecharge;
    } else if (client != nullptr) {
        if (client->getClientState() == GClientNode::kStateWaitingForStart)
            client->requestService(hero);
        if (client->getClientState() != GClientNode::kStateLeaving) {
            target = client->getName();
            kind = GStaffNode::kTaskServe;
        }
    }
    if (kind < 0) {
        bool accepts = location.acceptsItem(nameOf("Garbage"));
        for (const CNameId item : hero->getCarried())
            accepts = accepts || (item != CNameId() && location.acceptsItem(item));
        if (!accepts)
            return false;
        kind = GStaffNode::kTaskFetch;
    }
    hero->enqueueTask(&location, target, kind);
    return true;
}

CVector3d GGameLevelScene::cursorPoint() const {
    const ICursorControl::Point at = pointer();
    return toLevel(at.x, at.y);
}
