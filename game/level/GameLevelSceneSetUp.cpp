#include "engine/core/Logger.h"
#include "engine/scene/ControlNode.h"
#include "game/app/UpgradeCatalog.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"

// How a level finds its parts in its scene file and turns the shop's purchases into location
// templates, colours, environment states and the places of its dance pads.

namespace {

template <typename Node>
CRefPointer<Node> held(Node* node) {
    return CRefPointer<Node>::share(node);
}

// The current upgrade of the slot: what it is called, or the empty name.
CNameId currentUpgrade(const UpgradeCatalog* catalog, CNameId slot) {
    const GUpgradeItem* current = nullptr;
    const GUpgradeItem* next = nullptr;
    if (catalog == nullptr || !catalog->getCurrentAndNext(slot, current, next))
        return CNameId();
    return current->type;
}

// Where the third drinks and sandwich machines take over the places of the older machines:
// the template a place shows and the configuration it serves with.
struct MachineMerge {
    const char* place;
    const char* shownTemplate; // null: the place's own name; empty: none
    const char* configuration; // empty: none
};
const MachineMerge kDrinkMerge[] = {
    {"EnergyDrinkMachine", "", ""},
    {"EnergyDrinkMachine2_1", nullptr, "EnergyDrinkMachine3"},
    {"EnergyDrinkMachine2_2", nullptr, "EnergyDrinkMachine3"},
};
const MachineMerge kSandwichMerge[] = {
    {"SandwichMachine", "SandwichMachine3_1", "SandwichMachine3"},
    {"SandwichMachine2", "SandwichMachine3_2", "SandwichMachine3"},
};

template <size_t N>
void applyMerge(const MachineMerge (&merge)[N], CNameId place, CNameId& shown,
                CNameId& configuration) {
    for (const MachineMerge& entry : merge) {
        if (nameOf(entry.place) != place)
            continue;
        shown = entry.shownTemplate == nullptr ? place : nameOf(entry.shownTemplate);
        configuration = nameOf(entry.configuration);
    }
}

constexpr int32_t kDancePads = 6;
constexpr int32_t kEnvironmentSlots = 6;

} // namespace

void GGameLevelScene::OnLoaded() {
    m_background = held(findChild(nameOf("Bg"), 1));
    m_sandwichArt = held(m_background ? m_background->findChild(nameOf("Sandwich2"), 1) : nullptr);
    m_appearLocations = held(findChild(nameOf("AppearLocations"), 1));
    bindAppearLocations(m_appearLocations.get());
    m_charactersNode = held(findChild(nameOf("CharactersNode"), 1));
    m_locationsNode = held(findChild(nameOf("LocationsNode"), 1));
    bindLocations(m_locationsNode.get());
    m_envUpgradeButtons = held(findChild(nameOf("EnvUpgradeButtons"), 1));
    m_effectsHolder = held(findChild(nameOf("EffectsHolder"), 1));
    reportMissingParts();
}

// The first "Hero" and the first "Fitness" are where those staff appear, every "Masseur" a
// masseur's place, and the others are the places of the queue, the first at its front.
void GGameLevelScene::bindAppearLocations(BaseNode* holder) {
    m_queueSlots.clear();
    m_masseurPlaces.clear();
    m_heroPlace = nullptr;
    m_fitnessPlace = nullptr;
    const CNameId hero = nameOf("Hero");
    const CNameId fitness = nameOf("Fitness");
    const CNameId masseur = nameOf("Masseur");
    for (uint32_t i = 0; holder != nullptr && i < holder->getChildCount(); ++i) {
        GLocationNode* place = asGLocationNode(holder->getChild(i));
        if (place == nullptr)
            continue;
        if (place->getName() == hero && !m_heroPlace)
            m_heroPlace = held(place);
        else if (place->getName() == fitness && !m_fitnessPlace)
            m_fitnessPlace = held(place);
        else if (place->getName() == masseur)
            m_masseurPlaces.append(held(place));
        else
            m_queueSlots.append(held(place));
        place->setLevel(this);
    }
}

void GGameLevelScene::bindLocations(BaseNode* holder) {
    m_locations.clear();
    for (uint32_t i = 0; holder != nullptr && i < holder->getChildCount(); ++i) {
        if (GLocationNode* location = asGLocationNode(holder->getChild(i)))
            m_locations.append(held(location));
    }
}

// Once for the file: its copies are the same level.
void GGameLevelScene::reportMissingParts() {
    if (m_missingPartsReported)
        return;
    m_missingPartsReported = true;
    const struct {
        const char* name;
        bool present;
    } parts[] = {{"CharactersNode", bool(m_charactersNode)},
                 {"LocationsNode", bool(m_locationsNode)},
                 {"AppearLocations", bool(m_appearLocations)}};
    for (const auto& part : parts) {
        if (!part.present) {
            CLogger::instance()->log(u"The level " + getContentKey().getName() + u" has no \"" +
                                         CStringW(part.name) + u"\" and plays without it",
                                     CLogger::LevelWarning);
        }
    }
}

void GGameLevelScene::applyUpgrades(const UpgradeCatalog* catalog, bool preview) {
    applyLocationUpgrades(catalog);
    setupStaff(catalog, preview);
    applyEnvironmentUpgrades(catalog);
}

void GGameLevelScene::applyLocationUpgrades(const UpgradeCatalog* catalog) {
    // The shop shows every machine as it is bought.
    const bool played = m_passiveMode == 0;
    const bool drinkMerge = played && currentUpgrade(catalog, nameOf("EnergyDrinkMachine")) ==
                                          nameOf("EnergyDrinkMachine3");
    const bool sandwichMerge =
        played && currentUpgrade(catalog, nameOf("SandwichMachine")) == nameOf("SandwichMachine3");
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        const CNameId place = location->getName();
        int32_t color = 0;
        for (uint32_t i = 0; m_levelConfig && i < m_levelConfig->locationTypes.size(); ++i) {
            if (m_levelConfig->locationTypes[i].place == place) {
                color = m_levelConfig->locationTypes[i].color;
                break;
            }
        }
        CNameId shown = currentUpgrade(catalog, place);
        CNameId configuration = shown;
        if (drinkMerge)
            applyMerge(kDrinkMerge, place, shown, configuration);
        if (sandwichMerge)
            applyMerge(kSandwichMerge, place, shown, configuration);
        location->setTemplateName(shown);
        location->setColor(color);
        GLocationConfig* config =
            m_objectConfigs ? m_objectConfigs->getLocationConfig(configuration) : nullptr;
        location->setPressMode(1);
        location->setConfig(config);
        location->setLevel(this);
        if (played)
            location->setShopMode(false, 0, nullptr, nullptr);
        // After the play display, which enables every object: a location that is not built
        // stays out of play.
        location->setVisible(config != nullptr);
        location->setEnabled(config != nullptr);
    }
}

void GGameLevelScene::applyEnvironmentUpgrades(const UpgradeCatalog* catalog) {
    for (int32_t slot = 1; slot <= kEnvironmentSlots; ++slot) {
        const CNameId state = currentUpgrade(catalog, CNameId(CString("Up").append(slot)));
        if (state != CNameId() && m_background)
            m_background->setChildrenState(state, nullptr);
    }
}

void GGameLevelScene::layoutDancePads() {
    CArray<GLocationNode*> pads;
    for (int32_t number = 1; number <= kDancePads; ++number) {
        const CNameId name(CString("DancePad").append(number));
        for (const CRefPointer<GLocationNode>& location : m_locations) {
            if (location->getName() == name && location->getTemplateName() != CNameId()) {
                pads.append(location.get());
                break;
            }
        }
    }
    const uint32_t count = pads.size();
    const char* layoutName = count % 2 == 1 ? "DancePadsLayout5"
                             : count > 4    ? "DancePadsLayout6"
                                            : "DancePadsLayout4";
    const BaseNode* layout = findChild(nameOf(layoutName), 1);
    if (layout == nullptr || layout->getChildCount() < count)
        return;
    // The pads take the middle places.
    const uint32_t first = (layout->getChildCount() - count) / 2;
    for (uint32_t i = 0; i < count; ++i) {
        const CVector3d& place = layout->getChild(first + i)->getPosition();
        pads[i]->setPosition(CVector3d(place.x, place.y, pads[i]->getPosition().z));
    }
    buildPairAreas();
    m_walkGrid.clearWeights();
    // Each location's own cell, however far out: cut to a byte, it would stamp another place.
    for (const CRefPointer<GLocationNode>& location : m_locations) {
        const CVector3d& at = location->getPosition();
        m_walkGrid.stampRegion(m_walkGrid.cellAt(CVector2d(at.x, at.y)),
                               location->getTemplateName());
    }
}
