#include "game/screens/MapTraffic.h"

#include <algorithm>

#include "engine/core/Random.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/RangeDraw.h"
#include "game/effects/CarNode.h"
#include "game/effects/PathMovableNode.h"

namespace {

struct GroupSource {
    const char* parentName;
    const char16_t* pathsFile;
};

const GroupSource kGroupSources[GMapTraffic::GROUP_COUNT] = {
    {"Sea", u"scenes/MapScooterPaths.xml"},
    {"Birds", u"scenes/MapPlanePaths.xml"},
    {"Human", u"scenes/MapHumanPaths.xml"},
    {"Cars", u"scenes/MapCarPaths.xml"},
};

bool evenDraw() {
    return engineRandom().nextMwc() % 2 == 0;
}

// "Human1" to "Human6", drawn.
CNameId drawPedestrianTemplate() {
    static const CNameId names[] = {nameOf("Human1"), nameOf("Human2"), nameOf("Human3"),
                                    nameOf("Human4"), nameOf("Human5"), nameOf("Human6")};
    return names[engineRandom().nextMwc() % 6];
}

} // namespace

GMapTraffic::GMapTraffic() = default;

void GMapTraffic::bind(BaseNode* bg) {
    for (uint32_t group = 0; group < GROUP_COUNT; ++group) {
        m_groups[group].parent =
            bg != nullptr ? bg->findChild(nameOf(kGroupSources[group].parentName), 1) : nullptr;
    }
}

void GMapTraffic::loadPaths(IVirtualFileSystem& files) {
    for (uint32_t group = 0; group < GROUP_COUNT; ++group)
        m_groups[group].paths->loadFile(files, kGroupSources[group].pathsFile);
}

void GMapTraffic::update(uint32_t elapsedMs) {
    for (uint32_t group = 0; group < GROUP_COUNT; ++group) {
        Group& traffic = m_groups[group];
        if (traffic.parent == nullptr || traffic.paths->getPathCount() == 0)
            continue;
        // A long pause (a dragged window) must not wrap the timer round to a late spawn.
        const int64_t left = int64_t(traffic.countdown) - int64_t(elapsedMs);
        traffic.countdown = int32_t(std::max<int64_t>(left, -1));
        if (traffic.countdown < 0)
            spawnNext(EGroup(group));
    }
}

void GMapTraffic::spawnNext(EGroup group) {
    switch (group) {
    case GROUP_SCOOTERS:
        return spawnScooter();
    case GROUP_PLANE:
        return spawnPlane();
    case GROUP_PEDESTRIANS:
        return spawnPedestrian();
    default:
        return spawnCar();
    }
}

BaseNode* GMapTraffic::spawn(EGroup group, CNameId templateName, uint32_t kind) const {
    BaseNode* parent = m_groups[group].parent;
    SceneManager* manager = parent->getSceneManager();
    TemplateCollectionNode* templates =
        manager != nullptr ? manager->getTemplateCollection() : nullptr;
    BaseNode* model = templates != nullptr ? templates->getTemplate(templateName) : nullptr;
    if (model == nullptr || !model->isKindOf(kind))
        return nullptr;
    // The parent holds the only reference to the copy.
    const CRefPointer<BaseNode> copy = model->clone(parent, nullptr);
    copy->setVisible(true);
    return copy.get();
}

GPath* GMapTraffic::drawPath(EGroup group) const {
    const GPathSet& paths = *m_groups[group].paths;
    return paths.getPath(engineRandom().nextMwc() % paths.getPathCount());
}

void GMapTraffic::spawnScooter() {
    static const CNameId reversed = nameOf("MapScooter1");
    static const CNameId onward = nameOf("MapScooter2");
    const bool reverse = evenDraw();
    m_groups[GROUP_SCOOTERS].countdown = engineRandom().nextIntInRange(10000, 20000);
    BaseNode* scooter =
        spawn(GROUP_SCOOTERS, reverse ? reversed : onward, GPathMovableNode::kTypeId);
    if (scooter != nullptr)
        static_cast<GPathMovableNode*>(scooter)->startPath(
            m_groups[GROUP_SCOOTERS].paths->getPath(0), -1, reverse, false);
}

void GMapTraffic::spawnPlane() {
    static const CNameId plane = nameOf("MapAirplane");
    m_groups[GROUP_PLANE].countdown = engineRandom().nextIntInRange(30000, 40000);
    BaseNode* mover = spawn(GROUP_PLANE, plane, GPathMovableNode::kTypeId);
    if (mover != nullptr)
        static_cast<GPathMovableNode*>(mover)->startPath(m_groups[GROUP_PLANE].paths->getPath(0),
                                                         -1, false, false);
}

void GMapTraffic::spawnPedestrian() {
    m_groups[GROUP_PEDESTRIANS].countdown = engineRandom().nextIntInRange(700, 2000);
    const bool reverse = evenDraw();
    const CNameId templateName = drawPedestrianTemplate();
    GPath* path = drawPath(GROUP_PEDESTRIANS);
    const float speed = engineRandom().nextFloatInRange(5.f, 15.f);
    BaseNode* mover = spawn(GROUP_PEDESTRIANS, templateName, GPathMovableNode::kTypeId);
    if (mover == nullptr)
        return;
    auto* pedestrian = static_cast<GPathMovableNode*>(mover);
    pedestrian->setSpeed(speed);
    pedestrian->startPath(path, -1, reverse, false);
}

void GMapTraffic::spawnCar() {
    static const CNameId names[] = {nameOf("MapCar1"), nameOf("MapCar2"), nameOf("MapCar3")};
    m_groups[GROUP_CARS].countdown = engineRandom().nextIntInRange(10000, 12000);
    engineRandom().nextMwc();
    const CNameId templateName = names[engineRandom().nextMwc() % 3];
    GPath* path = drawPath(GROUP_CARS);
    const float speed = engineRandom().nextFloatInRange(80.f, 120.f);
    BaseNode* mover = spawn(GROUP_CARS, templateName, GCarNode::kTypeId);
    if (mover == nullptr)
        return;
    auto* car = static_cast<GCarNode*>(mover);
    car->setSpeed(speed);
    car->startPath(path);
}

void GMapTraffic::placeInitialPedestrians() {
    // Without streets or paths there is nowhere to place anyone.
    if (m_groups[GROUP_PEDESTRIANS].parent == nullptr ||
        m_groups[GROUP_PEDESTRIANS].paths->getPathCount() == 0)
        return;
    for (int32_t i = 0; i < kInitialPedestrians; ++i) {
        const bool reverse = evenDraw();
        const CNameId templateName = drawPedestrianTemplate();
        GPath* path = drawPath(GROUP_PEDESTRIANS);
        auto* pedestrian = static_cast<GPathMovableNode*>(
            spawn(GROUP_PEDESTRIANS, templateName, GPathMovableNode::kTypeId));
        if (pedestrian != nullptr) {
            pedestrian->setSpeed(engineRandom().nextUnitFloat() * 10 + 5);
            pedestrian->startPath(path, -1, reverse, false);
        }
        const uint32_t spread = uint32_t(engineRandom().nextUnitFloat() * 95000 + 5000);
        if (pedestrian != nullptr)
            pedestrian->advance(spread);
    }
}
