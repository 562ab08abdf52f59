#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"

class GClientConfig;

// The pop-up presenting a client type that a level brings for the first time,
// "scenes/GameNewClientScene.qscn": its name, description, patience and features, and its
// figure from the level's templates standing at "ClientNode", every 5 s doing its stand. The
// level's screen gives it the client after opening it; its back button returns there.
class GGameNewClientScene : public NodeClass<GGameNewClientScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1115;
    static constexpr const char16_t* kTypeName = u"GGameNewClientScene";
    static constexpr float kStandEveryMs = 5000;

    GGameNewClientScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

    // None changes nothing.
    void setClient(const GClientConfig* config);

    BaseNode* getPreview() const { return m_preview.get(); }

protected:
    ~GGameNewClientScene() override = default;

private:
    void showPatience(int32_t level);
    void showPreview(const GClientConfig& config);

    TextNode* m_name = nullptr;
    TextNode* m_description = nullptr;
    TextNode* m_patience = nullptr;
    TextNode* m_features = nullptr;
    BaseNode* m_clientPlace = nullptr;
    CRefPointer<BaseNode> m_preview;
    float m_standTimerMs = 0;
};
