#include "engine/ui/SoundNode.h"

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"

SoundNode::SoundNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

SoundNode::~SoundNode() {
    stopInstance();
}

const PropertyTable& SoundNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&SoundNode::getSoundCueName, &SoundNode::setSoundCueName>(
                "SoundCueName"),
            accessorProperty<&SoundNode::getPlay, &SoundNode::setPlay>("Play"),
        });
    return table;
}

CSoundPlayer* SoundNode::getSoundPlayer() const {
    const SceneManager* manager = getSceneManager();
    const CEngine* engine = manager != nullptr ? manager->getEngine() : nullptr;
    return engine != nullptr ? engine->getSoundPlayer() : nullptr;
}

void SoundNode::stopInstance() {
    if (m_instance)
        m_instance->stop(0);
}

void SoundNode::updatePlayback() {
    if (getSceneManager() == nullptr || !isVisible())
        return;
    if (!m_play) {
        stopInstance();
        return;
    }
    if (m_instance || m_cueName == CNameId())
        return;
    if (CSoundPlayer* player = getSoundPlayer())
        m_instance = player->playCue(m_cueName, false, 0);
}

void SoundNode::setSoundCueName(CNameId name) {
    if (name == m_cueName)
        return;
    stopInstance();
    m_instance.reset();
    m_cueName = name;
    updatePlayback();
}

void SoundNode::setPlay(bool play) {
    m_play = play;
    // A cue that ended, or was paused, starts again as a new copy; the player has let go of
    // an ended one.
    if (play && isVisible() && m_instance && m_instance->getState() != 2) {
        stopInstance();
        m_instance.reset();
    }
    updatePlayback();
    if (!play && isVisible())
        stopInstance();
}

void SoundNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    updatePlayback();
    collectChildDrawables(list);
}

void SoundNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& sound = static_cast<const SoundNode&>(source);
    m_cueName = sound.m_cueName;
    setPlay(sound.m_play);
}

void SoundNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_cueName != CNameId())
        properties.addString("SoundCueName", m_cueName.toString());
    properties.addBool("Play", m_play);
}

void SoundNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    bool play = false;
    if (loadPropertyIfPresent(properties, "Play", play))
        setPlay(play);
    CNameId name;
    if (loadPropertyIfPresent(properties, "SoundCueName", name))
        setSoundCueName(name);
}
