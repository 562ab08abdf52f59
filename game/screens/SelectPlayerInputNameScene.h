#pragma once

#include <cstdint>

#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/EditNode.h"
#include "game/app/BaseSceneNode.h"

// The name entry, "scenes/SelectPlayerInputNameScene.qscn": a new player's name and
// difficulty. OK stays disabled while the name is empty or another player has it; the Hard
// and Easy boxes act as a pair of radio buttons. The player is stored with the profiles but
// not made current: player selection selects it and the user confirms it there.
class GSelectPlayerInputNameScene : public NodeClass<GSelectPlayerInputNameScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1105;
    static constexpr const char16_t* kTypeName = u"GSelectPlayerInputNameScene";

    GSelectPlayerInputNameScene(const CContentKey& key, BaseNode* parent,
                                SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnValueChanged(CEventNode& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;

protected:
    ~GSelectPlayerInputNameScene() override = default;

private:
    // Adds the player of the typed name with the chosen difficulty, saves and goes back.
    void createPlayer();
    bool isNameFree(const CStringW& name) const;
    void checkHard(bool hard);
    void goBack();

    EditNode* m_nameEdit = nullptr;
    ControlNode* m_okButton = nullptr;
    CheckBoxNode* m_hardBox = nullptr;
    CheckBoxNode* m_easyBox = nullptr;
};
