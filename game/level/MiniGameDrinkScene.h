#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/scene/NodeClass.h"
#include "game/level/MiniGameScene.h"

// The drink game: a row of cups browsed with two arrow buttons and picked with a third. Each
// cup hides a value from 1 to the number of cups in play; a face and a row of money icons show
// the value of the cup on show. Choosing closes the game with result 1 and the cup's value.
// The game has no configuration; it shares its type id with the roulette.
//
// Under "Scene": "Face" with "f1" (low), "f2" (middle) and "f3" (high); "Buttons" with
// "Button1" (previous), "Button2" (next) and "Button3" (choose); the cups under "Cup" and the
// money icons under "Money". The cups in play are as many as there are of both.
class GMiniGameDrinkScene : public NodeClass<GMiniGameDrinkScene, GMiniGameScene> {
public:
    static constexpr uint32_t kTypeId = 1145;
    static constexpr const char16_t* kTypeName = u"GMiniGameDrinkScene";

    using NodeClass::NodeClass;

    void OnLoaded() override;
    // Hides the values 1 to the count in the cups at random and shows the cup holding 1.
    void start(const StartParameters& parameters) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // The arrows wrap around the row. With no cup in play they do nothing, and choosing closes
    // the game with result 0.
    bool OnButtonPressed(CEventControlClicked& event) override;

    int32_t getCount() const { return int32_t(m_count); }
    int32_t getCurrent() const { return int32_t(m_current); }
    // The value of each cup, by position.
    const CArray<int32_t>& getValues() const { return m_values; }

protected:
    ~GMiniGameDrinkScene() override = default;

private:
    void shuffle();
    void refresh();
    void choose();

    // Nodes of the scene, which outlive this use.
    BaseNode* m_previousButton = nullptr;
    BaseNode* m_nextButton = nullptr;
    BaseNode* m_chooseButton = nullptr;
    BaseNode* m_faceLow = nullptr;
    BaseNode* m_faceMiddle = nullptr;
    BaseNode* m_faceHigh = nullptr;
    CArray<BaseNode*> m_moneyIcons;
    CArray<BaseNode*> m_cups;
    CArray<int32_t> m_values;
    uint32_t m_count = 0;
    uint32_t m_current = 0;
};
