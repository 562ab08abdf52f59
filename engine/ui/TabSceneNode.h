#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneNode.h"

// A scene of numbered pages: its direct children "Tab1", "Tab2", ... each with an optional
// button "Tab1Button", "Tab2Button", ... Clicking a tab's button makes that tab the active one:
// the old and the new tab's children play the state named after the two tab numbers ("1To2"),
// the old tab hides once its children have finished it, and the tabs hear of the switch as
// events 46 (handed to them at once), 48 (posted when it starts) and 47 (posted when both have
// finished). The first activation, when the scene is attached, plays "Default" on every tab
// and hides all but the active one. Only the active tab and the tab buttons take input, and
// none while a switch runs; the active tab and its button are drawn above the others.
class TabSceneNode : public NodeClass<TabSceneNode, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 8;
    static constexpr const char16_t* kTypeName = u"TabSceneNode";
    // What "TabsCount" from a file is held to.
    static constexpr int32_t kMaxTabs = 256;

    TabSceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    void collectDrawables(RenderList& list) override;
    // Collects the tabs and their buttons.
    void OnLoaded() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Activates the loaded "ActiveTabIndex".
    bool OnSceneManagerAttached(CEventNodeAttached& event) override;
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    // Stores the values without activating a tab.
    void loadProperties(const CProperties& properties) override;

    // A tab's button activates the tab; the click goes on up.
    virtual bool OnButtonClicked(CEventControlClicked& event);

    // Ignored for a tab that does not exist and, unless forced, for the active one.
    void setActiveTab(int32_t index, bool forced);
    int32_t getActiveTabIndex() const { return m_activeTab; }
    // Collects the tabs again.
    void setTabsCount(int32_t count);
    int32_t getTabsCount() const { return m_tabsCount; }
    void setHideTabButtonOnSelect(bool hide) { m_hideTabButtonOnSelect = hide; }
    bool isSwitching() const { return m_pendingTransitions != 0; }
    // None for an index that is no collected tab.
    BaseNode* getTab(int32_t index) const;
    BaseNode* getTabButton(int32_t index) const;

    // Finds "Tab" + n and "Tab" + n + "Button" among the direct children for each tab.
    void collectTabs();

protected:
    ~TabSceneNode() override = default;

private:
    void postSwitchEvent(BaseNode* tab, CEvent* event);
    void startSwitch(BaseNode* oldTab, BaseNode* newTab);
    void showButton(int32_t index, bool shown);

    CArray<CRefPointer<BaseNode>> m_tabs;
    CArray<CRefPointer<BaseNode>> m_tabButtons;
    CNameId m_transitionName;
    int32_t m_pendingTransitions = 0;
    int32_t m_previousTab = -1;
    int32_t m_lastTabChildPos = -1;
    int32_t m_lastButtonChildPos = -1;
    int32_t m_tabsCount = 0;
    int32_t m_activeTab = -1;
    bool m_hideTabButtonOnSelect = false;
};
