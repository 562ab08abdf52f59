#pragma once

#include <cstdint>

#include "engine/audio/SoundCue.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

class CSoundPlayer;

// Plays a sound cue of the engine's sound player while "Play" is set and the node is visible
// in a drawn scene: a cue starts on the first frame that finds the node so, and is not started
// again by later frames once it has ended; setting "Play" again restarts it. Clearing "Play"
// stops the cue at once, without a fade. Scenes switch it through their states.
class SoundNode : public NodeClass<SoundNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 18;
    static constexpr const char16_t* kTypeName = u"SoundNode";

    SoundNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // Draws nothing; a visible node starts its cue here.
    void collectDrawables(RenderList& list) override;
    // The cue name, then the play flag, which starts nothing by itself in a node outside a scene.
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Another name stops the playing cue at once and starts the new one when the node may play.
    void setSoundCueName(CNameId name);
    CNameId getSoundCueName() const { return m_cueName; }
    void setPlay(bool play);
    bool getPlay() const { return m_play; }
    // The cue this node started, playing or not; none before.
    SoundCue* getInstance() const { return m_instance.get(); }

    // Starts the cue when it should play and none is held, stops it when it should not; only
    // in a visible node with a scene manager.
    void updatePlayback();

protected:
    ~SoundNode() override;

private:
    // The sound player of the scene manager's engine; none without one.
    CSoundPlayer* getSoundPlayer() const;
    void stopInstance();

    CNameId m_cueName;
    CRefPointer<SoundCue> m_instance;
    bool m_play = false;
};
