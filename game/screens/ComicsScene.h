#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/app/BaseSceneNode.h"

// A comic strip between acts, "scenes/ComicsScene1.qscn" to "4": the children of "Parts" come
// in one after another, each showing the text boxes under its "Bg" one at a time, on clicks
// or by themselves; clicks are ignored while a part comes in or goes out. A dark background
// comes up behind the parts after the first and goes when the last has gone, bringing the
// earlier parts back. At the end a Replay button plays it again. Next leaves: back where it
// came from, or, for a player who has unlocked no level yet, into the first level.
//
// The kinds of text box, by name: "TextBg" waits for a click; "TextBgShowAtStart" is already
// shown while its part comes in; "TextBgNoWait" makes way for the next box once it has come
// in; "TextBgNoDisappear" does so too and stays when its part has gone.
class GComicsScene : public NodeClass<GComicsScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1109;
    static constexpr const char16_t* kTypeName = u"GComicsScene";

    GComicsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    // Arriving: the comic's music.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // Arrived: from the first part when opened, or the part after the current one when
    // returned to.
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    // Escape goes back.
    bool OnKeyUp(CEventInputKeyUp& event) override;

protected:
    ~GComicsScene() override;

private:
    class StateReports;

    void showNextPart();
    void advanceText();
    void finishPart();
    void replay();
    void leave();
    // The state reports of the parts (80) and of the current part's text boxes (76).
    void onPartFinished(const BaseNode* part, CNameId state);
    void onTextBoxFinished(const BaseNode* box, CNameId state);
    // The current part's "Bg" stops reporting to the comic.
    void stopListeningToBg();
    bool isPartIndex(int32_t index) const { return index >= 0 && index < int32_t(m_parts.size()); }
    bool isTextIndex(int32_t index) const { return index >= 0 && index < int32_t(m_texts.size()); }

    BaseNode* m_darkBg = nullptr;
    BaseNode* m_nextButton = nullptr;
    BaseNode* m_replayButton = nullptr;
    // Held, with the current part's "Bg", so that the reports can be detached from them
    // however the tree changes.
    CRefPointer<BaseNode> m_partsNode;
    CRefPointer<BaseNode> m_listenedBg;
    CRefPointer<StateReports> m_reports;
    CArray<BaseNode*> m_parts;
    int32_t m_partIndex = 0;
    CArray<BaseNode*> m_texts;
    int32_t m_textIndex = 0;
    bool m_partAppearing = false;
    bool m_partDisappearing = false;
};
