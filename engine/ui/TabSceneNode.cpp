#include "engine/ui/TabSceneNode.h"

#include <algorithm>

#include "engine/core/Properties.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/UiEvents.h"

namespace {

CNameId tabName(int32_t number, const char* suffix) {
    return CNameId(CString("Tab") + CString(number) + CString(suffix));
}

// "ActiveTabIndex" activates, unforced; a value of another type activates the first tab.
void setActiveTabProperty(CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
    static_cast<TabSceneNode&>(object).setActiveTab(PropertyTraits<int32_t>::read(value.get()),
                                                    false);
}

void getActiveTabProperty(CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
    out = makeIntProperty(static_cast<const TabSceneNode&>(object).getActiveTabIndex());
}

} // namespace

TabSceneNode::TabSceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

const PropertyTable& TabSceneNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        SceneNode::classPropertyTable(),
        {
            accessorProperty<&TabSceneNode::getTabsCount, &TabSceneNode::setTabsCount>("TabsCount"),
            {CString("ActiveTabIndex"), &setActiveTabProperty, &getActiveTabProperty},
            fieldProperty<&TabSceneNode::m_hideTabButtonOnSelect>("HideTabButtonOnSelect"),
        });
    return table;
}

const EventMap& TabSceneNode::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&TabSceneNode::OnButtonClicked>()};
    static const EventMap map = buildEventMap(SceneNode::getEventMap(), own);
    return map;
}

// Tabs

BaseNode* TabSceneNode::getTab(int32_t index) const {
    return index >= 0 && uint32_t(index) < m_tabs.size() ? m_tabs[uint32_t(index)].get() : nullptr;
}

BaseNode* TabSceneNode::getTabButton(int32_t index) const {
    return index >= 0 && uint32_t(index) < m_tabButtons.size() ? m_tabButtons[uint32_t(index)].get()
                                                               : nullptr;
}

void TabSceneNode::setTabsCount(int32_t count) {
    m_tabsCount = std::clamp(count, 0, kMaxTabs);
    collectTabs();
}

// The active tab and button are drawn at the place of the last tab and button in child order.
void TabSceneNode::collectTabs() {
    m_tabs.clear();
    m_tabButtons.clear();
    m_lastTabChildPos = -1;
    m_lastButtonChildPos = -1;
    for (int32_t number = 1; number <= m_tabsCount; ++number) {
        m_tabs.append(CRefPointer<BaseNode>::share(findChild(tabName(number, ""), 1)));
        m_tabButtons.append(CRefPointer<BaseNode>::share(findChild(tabName(number, "Button"), 1)));
    }
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        const BaseNode* child = getChild(i);
        for (uint32_t tab = 0; tab < m_tabs.size(); ++tab) {
            if (m_tabs[tab] == child)
                m_lastTabChildPos = int32_t(i);
            if (m_tabButtons[tab] == child)
                m_lastButtonChildPos = int32_t(i);
        }
    }
}

void TabSceneNode::OnLoaded() {
    collectTabs();
}

void TabSceneNode::showButton(int32_t index, bool shown) {
    if (BaseNode* button = getTabButton(index))
        button->setVisible(shown);
}

void TabSceneNode::postSwitchEvent(BaseNode* tab, CEvent* event) {
    postEvent(tab, RouteSelfThenParents, *CRefPointer<CEvent>(event));
}

// A tab that is missing cannot be switched to, so the call is ignored.
void TabSceneNode::setActiveTab(int32_t index, bool forced) {
    if (getTab(index) == nullptr || (!forced && index == m_activeTab))
        return;
    const CRefPointer<TabSceneNode> self = CRefPointer<TabSceneNode>::share(this);
    for (const int32_t involved : {m_previousTab, m_activeTab}) {
        if (BaseNode* tab = getTab(involved))
            tab->stopAllStates(true);
    }
    // The tab an unfinished switch was leaving would otherwise stay shown: its transition no
    // longer counts.
    if (BaseNode* leaving = getTab(m_previousTab);
        leaving != nullptr && isSwitching() && m_previousTab != index)
        leaving->setVisible(false);
    CRefPointer<BaseNode> oldTab = CRefPointer<BaseNode>::share(getTab(m_activeTab));
    const CRefPointer<BaseNode> newTab = CRefPointer<BaseNode>::share(getTab(index));
    m_previousTab = m_activeTab;
    m_activeTab = index;
    if (m_previousTab == index) {
        m_previousTab = -1;
        oldTab.reset();
    }
    for (BaseNode* tab : {oldTab.get(), newTab.get()}) {
        if (tab == nullptr)
            continue;
        tab->OnEvent(*CRefPointer<CEvent>(new CEventTabSwitch(oldTab.get(), newTab.get())));
        postSwitchEvent(tab, new CEventTabSwitchStarted(oldTab.get(), newTab.get()));
    }
    newTab->setVisible(true);
    if (m_hideTabButtonOnSelect)
        showButton(m_activeTab, false);
    startSwitch(oldTab.get(), newTab.get());
}

void TabSceneNode::startSwitch(BaseNode* oldTab, BaseNode* newTab) {
    if (oldTab != nullptr) {
        m_pendingTransitions = 2;
        m_transitionName =
            CNameId(CString(m_previousTab + 1) + CString("To") + CString(m_activeTab + 1));
        if (m_hideTabButtonOnSelect)
            showButton(m_previousTab, true);
        oldTab->setChildrenState(m_transitionName, nullptr);
        newTab->setChildrenState(m_transitionName, nullptr);
        return;
    }
    m_pendingTransitions = 1;
    m_transitionName = CNameId(CString("Default"));
    for (int32_t i = 0; uint32_t(i) < m_tabs.size(); ++i) {
        if (m_hideTabButtonOnSelect)
            showButton(i, i != m_activeTab);
        if (BaseNode* tab = getTab(i)) {
            tab->setVisible(i == m_activeTab);
            tab->setChildrenState(m_transitionName, nullptr);
        }
    }
}

bool TabSceneNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    BaseNode* node = event.getNode();
    BaseNode* previous = getTab(m_previousTab);
    BaseNode* active = getTab(m_activeTab);
    if (node == nullptr || node->getParent() != this || m_pendingTransitions == 0 ||
        event.getStateName() != m_transitionName || (node != previous && node != active))
        return SceneNode::OnChildrenStateFinished(event);
    const CRefPointer<TabSceneNode> self = CRefPointer<TabSceneNode>::share(this);
    --m_pendingTransitions;
    if (node == previous)
        node->setVisible(false);
    if (m_pendingTransitions == 0) {
        m_transitionName = CNameId();
        for (BaseNode* tab : {previous, active}) {
            if (tab != nullptr)
                postSwitchEvent(tab, new CEventTabSwitchFinished(previous, active));
        }
    }
    return true;
}

bool TabSceneNode::OnButtonClicked(CEventControlClicked& event) {
    for (uint32_t i = 0; i < m_tabButtons.size(); ++i) {
        if (m_tabButtons[i] && m_tabButtons[i].get() == event.getNode()) {
            setActiveTab(int32_t(i), false);
            break;
        }
    }
    return false;
}

bool TabSceneNode::OnSceneManagerAttached(CEventNodeAttached& event) {
    SceneNode::OnSceneManagerAttached(event);
    setActiveTab(m_activeTab, true);
    return false;
}

// Input

bool TabSceneNode::sendToChildren(int32_t mode, CEvent& event) {
    const CRefPointer<TabSceneNode> self = CRefPointer<TabSceneNode>::share(this);
    if (!event.isKindOf(CEventInput::Id)) {
        for (uint32_t i = 0; i < getChildCount(); ++i) {
            const CRefPointer<BaseNode> child = CRefPointer<BaseNode>::share(getChild(i));
            if (takesCategory(*child, event) && child->deliver(mode, event))
                return true;
        }
        return false;
    }
    if (m_pendingTransitions != 0 || !isEnabled() || !isVisible())
        return false;
    CArray<CRefPointer<BaseNode>> offered;
    offered.append(CRefPointer<BaseNode>::share(getTab(m_activeTab)));
    offered.append(CRefPointer<BaseNode>::share(getTabButton(m_activeTab)));
    for (uint32_t i = 0; i < m_tabButtons.size(); ++i) {
        if (int32_t(i) != m_activeTab)
            offered.append(m_tabButtons[i]);
    }
    for (const CRefPointer<BaseNode>& node : offered) {
        if (node && node->deliver(RouteChildrenThenSelf, event))
            return true;
    }
    return false;
}

// Drawing

void TabSceneNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (ControlNode* root = getTemplateRoot())
        root->collectDrawables(list);
    BaseNode* activeTab = getTab(m_activeTab);
    BaseNode* activeButton = getTabButton(m_activeTab);
    bool tabDrawn = false;
    bool buttonDrawn = false;
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        BaseNode* child = getChild(i);
        if (child != activeTab && child != activeButton)
            child->collectDrawables(list);
        if (activeTab != nullptr && int32_t(i) == m_lastTabChildPos) {
            activeTab->collectDrawables(list);
            tabDrawn = true;
        }
        if (activeButton != nullptr && int32_t(i) == m_lastButtonChildPos) {
            activeButton->collectDrawables(list);
            buttonDrawn = true;
        }
    }
    // Places that children added since the tabs were collected moved.
    if (activeTab != nullptr && !tabDrawn)
        activeTab->collectDrawables(list);
    if (activeButton != nullptr && !buttonDrawn)
        activeButton->collectDrawables(list);
}

// Copying and properties

void TabSceneNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    SceneNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& tabs = static_cast<const TabSceneNode&>(source);
    m_tabsCount = tabs.m_tabsCount;
    m_activeTab = tabs.m_activeTab;
    m_hideTabButtonOnSelect = tabs.m_hideTabButtonOnSelect;
}

void TabSceneNode::saveProperties(CProperties& properties) const {
    SceneNode::saveProperties(properties);
    if (m_tabsCount != 0)
        properties.addInt("TabsCount", m_tabsCount);
    if (m_activeTab != -1)
        properties.addInt("ActiveTabIndex", m_activeTab);
    if (m_hideTabButtonOnSelect)
        properties.addBool("HideTabButtonOnSelect", true);
}

void TabSceneNode::loadProperties(const CProperties& properties) {
    SceneNode::loadProperties(properties);
    if (loadPropertyIfPresent(properties, "TabsCount", m_tabsCount))
        m_tabsCount = std::clamp(m_tabsCount, 0, kMaxTabs);
    loadPropertyIfPresent(properties, "ActiveTabIndex", m_activeTab);
    loadPropertyIfPresent(properties, "HideTabButtonOnSelect", m_hideTabButtonOnSelect);
}
