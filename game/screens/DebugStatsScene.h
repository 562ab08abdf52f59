#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"

// A scene without a file that shows, in its top-left corner, the video driver's frame rate and
// the milliseconds of the application's last update step ("fps: 60\nms: 20", the step right-
// aligned in three characters). It builds its one text node in code on every arrival and
// follows every pass of its scheduler.
class GDebugStatsScene : public NodeClass<GDebugStatsScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1000;
    static constexpr const char16_t* kTypeName = u"GDebugStatsScene";

    GDebugStatsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GDebugStatsScene() override = default;

private:
    // The text node of an earlier arrival goes, so that one text is drawn.
    void createStatsText();
    // Nothing without the text node or a video driver.
    void updateStatsText();

    CRefPointer<TextNode> m_statsText;
    // Composed anew on every tick in the same buffer.
    CStringW m_text;
};
