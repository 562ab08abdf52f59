#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "game/screens/TutorialScript.h"

class BaseNode;
class CContentManager;
class CXmlTextReader;
class GGameLevelScene;
class SpriteNode;
class TemplateCollectionNode;
class TextNode;

// Runs one tutorial script on one screen: shows the current hint in the text window with the
// heroine, or in the icon window with its picture, points with arrows, offers the events of the
// screen and the level to the hint's actions and moves on when one of them is done.
//
// The owner attaches it as a pre-receiver of itself (and of the level), steps it from its own
// update while it is the current scene, and detaches and releases it once OnUpdate reports the
// end. The windows and arrows stay in the scene until the controller is destroyed.
class GTutorialController : public CEventReceiver {
public:
    // Keyboard, mouse, node and control events.
    static constexpr uint32_t kCategoryMask = 44;

    // Builds the windows under the parent from the templates "TutorialWindow",
    // "TutorialIconWindow" and "TutorialArrow". Without a "TutorialWindow" there is no script,
    // and the first update ends the tutorial.
    GTutorialController(BaseNode* parent, TemplateCollectionNode* templates,
                        CContentManager* contentManager);

    // Reads the script when there is one; the level (none on the map) is kept either way.
    void loadScript(CXmlTextReader& reader, GGameLevelScene* level);
    // Shows the first hint.
    void start();
    // One step: the current hint's actions are updated in order up to the first that is done,
    // which moves the tutorial on by its skip count and one. False once the tutorial has ended.
    bool OnUpdate(uint32_t elapsedMs);
    // Offers the event to every action of the current hint; true when one consumed it. Clicks of
    // "SkipTutorialButton" and "MenuButton" are never offered: they belong to the owner.
    bool OnEvent(CEvent& event) override;
    // Ends the tutorial at the next update.
    void skip();
    void showCurrentHint();

    // Offers the receiver's events to the controller before its own handlers, until detach.
    // The receivers must outlive the attachment.
    void attachTo(CEventReceiver& receiver);
    // Leaves every pre-receiver list it joined; the destructor does this too.
    void detach();

    GTutorialScript* getScript() const { return m_script.get(); }
    GGameLevelScene* getLevel() const { return m_level; }
    int32_t getCurrentHint() const { return m_currentHint; }
    BaseNode* getTextWindow() const { return m_textWindow.get(); }
    BaseNode* getIconWindow() const { return m_iconWindow.get(); }
    BaseNode* getArrowContainer() const { return m_arrowContainer.get(); }

protected:
    ~GTutorialController() override;

private:
    bool hasEnded() const;
    GTutorialHint* currentHint() const;
    void buildWindows(TemplateCollectionNode& templates);
    // True when the hint shows its picture in the icon window.
    bool showPicture(const GTutorialHint& hint);
    void showWindow(BaseNode* window, TextNode* text, BaseNode* heroine, const GTutorialHint& hint);
    void showArrows(const GTutorialHint& hint);
    static void removeFromParent(BaseNode* node);

    CRefPointer<CContentManager> m_contentManager;
    CRefPointer<GTutorialScript> m_script;
    int32_t m_currentHint = 0;
    // Not owned: the screen's node that holds the windows and arrows.
    BaseNode* m_parent;
    // Not owned: the level outlives its tutorial.
    GGameLevelScene* m_level = nullptr;
    CRefPointer<BaseNode> m_arrowContainer;
    CRefPointer<BaseNode> m_arrowTemplate;
    CRefPointer<BaseNode> m_iconWindow;
    TextNode* m_iconWindowText = nullptr;
    SpriteNode* m_icon = nullptr;
    CRefPointer<BaseNode> m_textWindow;
    TextNode* m_textWindowText = nullptr;
    BaseNode* m_heroine = nullptr;
    // Not owned: the receivers whose pre-receiver lists hold the controller.
    CArray<CEventReceiver*> m_attachedTo;
};
