#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/core/ContentKey.h"
#include "engine/core/Map.h"
#include "engine/core/Matrix4.h"
#include "engine/core/NameId.h"
#include "engine/core/Rect.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/io/Content.h"
#include "engine/scene/Drawable.h"
#include "engine/scene/IPropertyOwner.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/ReflectedObject.h"
#include "engine/scene/ReusedEvent.h"

class CContentManager;
class CNodeFactory;
class CXmlTextReader;
class CXmlTextWriter;
class IRenderDriver;
class IScheduler;
class NodeState;
class SceneManager;
class SceneNode;

// Maps a state name that a node lacks to the name to try instead, or to the empty name.
using StateFallback = CNameId (*)(CNameId requested);

// The node every engine and game node derives from: a name, a 2D transform composed down the
// tree, a tint composed into an absolute colour, visibility and hit-test flags, children held by
// reference in drawing order, named states with a default and a current one, and the scene
// manager and scene it belongs to. It is an event receiver (events travel at once along the tree
// or, posted, through the scene manager's queue), content of type 'snod' that the content
// manager caches and copies, and a property owner readable and writable by name.
//
// A new class derives through NodeClass (NodeClass.h), gives its type id and name, and extends
// the property table, the event map, saveProperties, loadProperties and cloneMembers it needs.
class BaseNode : public CReflectedObject, public CContent, public IPropertyOwner {
public:
    static constexpr uint32_t kTypeId = 0;
    static constexpr const char16_t* kTypeName = u"BaseNode";
    // Receiver categories of every node: device, system, node and game events.
    static constexpr uint32_t kCategoryMask = 0x1023;
    // Scene files nesting nodes deeper than this are read no further.
    static constexpr uint32_t kMaxLoadDepth = 128;

    // Appends itself to the parent when one is given, taking over its manager and scene.
    BaseNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);
    BaseNode(const BaseNode&) = delete;
    BaseNode& operator=(const BaseNode&) = delete;

    const PropertyTable& getPropertyTable() const override;
    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    // A copy of the node and its subtree under the new parent (which then holds it) with the
    // given manager (the node's own when none); OnLoaded has run on it.
    virtual CRefPointer<BaseNode> clone(BaseNode* newParent, SceneManager* sceneManager) const;
    virtual const CStringW& getTypeName() const;
    virtual const CStringW& getClassName() const;
    virtual uint32_t getTypeId() const { return kTypeId; }
    // True for the class's own id, its ancestors' ids and 0.
    virtual bool isKindOf(uint32_t typeId) const { return typeId == kTypeId; }
    // Appends what the subtree draws; classes that draw add their own entry first.
    virtual void collectDrawables(RenderList& list);
    // Draws the node's own entry; here only a ChildrenClipped node draws its children, clipped.
    virtual void render(IRenderDriver* driver, const CRect* clip);
    // Strictly inside the bounds, in the node's own space.
    virtual bool isPointInside(const CVector3d& point) const;
    // Whether the node itself (not its descendants) is hit; a plain node never is.
    virtual bool hitTest(const CVector3d& point);
    virtual void setChildrenState(CNameId name, StateFallback fallback);
    // Reported name: the name the state's events carry; the empty name means the name itself.
    virtual void setState(CNameId name, StateFallback fallback, CNameId reportedName);
    virtual void stopChildrenStates(bool report);
    // Bring the node's and its subtree's absolute matrix or colour up to date.
    virtual void updateAbsoluteTransform();
    virtual void updateAbsoluteColor();
    // Reads the rest of the node's "SceneNode" element, on whose start tag the reader stands,
    // through its end tag: properties, states and children (made by the factory, or loaded from
    // the file a child names), then OnLoaded. Elements it does not know are passed over whole.
    virtual void loadFromXml(CXmlTextReader& reader, const CNodeFactory& factory);
    // The node's "SceneNode" element with its non-default properties, states and children;
    // internal nodes write nothing.
    virtual void saveToXml(CXmlTextWriter& writer) const;
    // Runs once the node has been loaded or cloned.
    virtual void OnLoaded() {}
    // Copies the source's members, listed children (but internal ones) and states; derived
    // classes copy theirs after calling their base.
    virtual void cloneMembers(const BaseNode& source, SceneManager* sceneManager);

    virtual bool OnSceneManagerAttached(CEventNodeAttached&) { return false; }
    virtual bool OnTemplatesChanged(CEventNodeTemplatesChanged&) { return false; }
    virtual bool OnDictionaryChanged(CEvent&) { return false; }
    virtual bool OnEvent70(CEvent&) { return false; }
    virtual bool OnActionFinished(CEventNodeActionFinished&) { return false; }
    virtual bool OnStateStarted(CEventNodeStateStarted&) { return false; }
    virtual bool OnStateFinished(CEventNodeStateFinished& event);
    virtual bool OnChildStateFinished(CEventNodeChildStateFinished& event);
    virtual bool OnChildrenStateFinished(CEventNodeChildrenStateFinished&) { return false; }

    bool OnEvent(CEvent& event) override;
    bool sendToParent(int32_t mode, CEvent& event) override;
    // The children from last to first; true at the first that handles the event.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    CRefPointer<CContent> makeCopy() const override;
    uint32_t getContentType() const override;

    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // Tree. Adding a node that is none, this node or one of its ancestors does nothing.
    void appendChild(BaseNode* child);
    // Right after the sibling; first without one, last when the sibling is not a child.
    void addChild(BaseNode* child, BaseNode* afterSibling);
    // Detaches the child and its subtree from manager and scene; false when it is not a child.
    bool removeChild(BaseNode* child);
    void removeAllChildren();
    // Exchanges the places of two children in the drawing order, leaving both in the tree as
    // they are; an index out of range changes nothing.
    void swapChildren(uint32_t first, uint32_t second);
    // Moves the node under the new parent (or out of the tree); a node that nobody else holds
    // is destroyed when it gets no new parent. A parent in the node's own subtree, or the node
    // itself, is refused.
    void setParent(BaseNode* newParent);
    // True when this node is on the node's parent chain.
    bool isAncestorOf(const BaseNode* node) const;
    // Direct children first, then each child's subtree; depth 1 searches the children only,
    // 0 and -1 the whole subtree, n > 1 that many levels, below -1 the children only.
    BaseNode* findChild(CNameId name, int32_t depth) const;
    // Stores both in the subtree; nodes that get a scene enter their default state.
    void setScene(SceneManager* sceneManager, SceneNode* scene);
    BaseNode* getParent() const { return m_parent; }
    uint32_t getChildCount() const { return m_children.size(); }
    BaseNode* getChild(uint32_t index) const { return m_children[index]; }
    SceneManager* getSceneManager() const { return m_sceneManager; }
    SceneNode* getScene() const { return m_scene; }
    // The content manager that loaded the node; none for nodes made in code.
    CContentManager* getContentManager() const { return getContentKey().getOwner(); }

    // Hit testing: none unless visible and hittable; the node itself when hitTest says so, else
    // the first hit among the children in list order.
    BaseNode* findHitNode(const CVector3d& point);
    // The last child whose subtree holds a hit node.
    BaseNode* findTopmostHitChild(const CVector3d& point);

    // The setters mark the transform or the colour dirty; the next drawing pass brings the
    // absolute values up to date.
    void setPosition(const CVector3d& position);
    void setRotation(const CVector3d& degrees);
    void setScale(const CVector3d& scale);
    void setBounds(const CVector3d& bounds);
    void setPivotPoint(const CVector2d& pivot);
    void setTintColor(CColor color);
    const CVector3d& getPosition() const { return m_position; }
    const CVector3d& getRotation() const { return m_rotation; }
    const CVector3d& getScale() const { return m_scale; }
    const CVector3d& getBounds() const { return m_bounds; }
    const CVector2d& getPivotPoint() const { return m_pivot; }
    CColor getTintColor() const { return m_tintColor; }
    const CMatrix4& getAbsoluteMatrix() const { return m_absoluteMatrix; }
    CColor getAbsoluteColor() const { return m_absoluteColor; }
    bool isTransformDirty() const { return m_transformDirty; }
    bool isColorDirty() const { return m_colorDirty; }

    CNameId getName() const { return m_name; }
    void setName(CNameId name) { m_name = name; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool canBeHit() const { return m_canBeHit; }
    void setCanBeHit(bool canBeHit) { m_canBeHit = canBeHit; }
    bool isChildrenClipped() const { return m_childrenClipped; }
    void setChildrenClipped(bool clipped) { m_childrenClipped = clipped; }
    // An internal node builds on its parent's transform and colour but is not in the parent's
    // children: list operations, drawing, state sets, saving and cloning pass it by.
    bool isInternal() const { return m_internal; }
    void setInternal(bool internal) { m_internal = internal; }

    // The node the element the reader stands on asks for: its "ClassOverride" type when that is
    // registered, else its "Type"; none (and a log line) when neither is.
    static CRefPointer<BaseNode> createFromXml(const CXmlTextReader& reader,
                                               const CNodeFactory& factory, const CContentKey& key);

    // States. Adding binds the state to this node; a name already present keeps its state.
    void addState(NodeState* state);
    NodeState* findState(CNameId name) const;
    void stopState(CNameId name, bool report);
    // In name-id order.
    void stopAllStates(bool report);
    // Stops the current state and enters the default one, when there is one.
    void enterDefaultState();
    // Stops the current state and forgets it, unless stopping made another state current.
    void stopCurrentState(bool report);
    // Releases every state; the default state's name stays.
    void removeAllStates();
    NodeState* getCurrentState() const { return m_currentState; }
    CNameId getDefaultState() const { return m_defaultState; }
    void setDefaultState(CNameId name) { m_defaultState = name; }
    const CMap<CNameId, CRefPointer<NodeState>>& getStates() const { return m_states; }

    // Queued with the scene manager, delivered on its next update with that routing mode;
    // dropped without a manager or when the receiver does not take the event's category.
    void postEvent(CEventReceiver* receiver, int32_t mode, CEvent& event);
    void postEventToParent(int32_t mode, CEvent& event);
    // To itself: 78 then 80 for the name, 80 going on to the parent when unhandled; otherwise
    // to the parent: 74 then 76.
    void reportStateEvents(CNameId stateName, bool toItself);

    // Clones of the source's listed children under this node and of its states for this node;
    // then the default state is entered.
    void copyChildrenAndStates(const BaseNode& source);

protected:
    ~BaseNode() override;

    // The receiver's routing takes the event when the masks meet.
    static bool takesCategory(const CEventReceiver& receiver, const CEvent& event) {
        return (receiver.getCategoryMask() & event.getCategory()) != 0;
    }
    // For classes whose own drawing follows more than the transform (a sprite's image pivot).
    void markTransformDirty() { m_transformDirty = true; }
    // For classes whose own drawing follows more than the tint (a colour of their own).
    void markColorDirty() { m_colorDirty = true; }
    // For classes that raise child-state bookkeeping of their own (a control's template root).
    void setPendingChildrenCount(CNameId name, int32_t count);
    // Draws what the driver's 2D batch holds, so that a change of clipping starts afresh.
    static void flushQuadBatch(IRenderDriver& driver);
    // Brings a dirty absolute transform and colour up to date; false, doing nothing, for a node
    // that is not visible. Every collectDrawables starts with it.
    bool prepareToDraw();
    // What a class that draws does in collectDrawables: its own entry with the sort key (the
    // texture it draws with), then its children's.
    void collectOwnAndChildDrawables(RenderList& list, uint32_t sortKey);
    // Appends the entries of every child in list order.
    void collectChildDrawables(RenderList& list);
    // The area a ChildrenClipped node clips its children to: its origin and its bounds through
    // the absolute matrix, ordered so that left <= right and top <= bottom whatever the rotation
    // or the sign of the scale.
    CRect getClipRect() const;
    // The clock states of this node run on: its scene's.
    IScheduler* getSceneClock() const;

private:
    // Shared by appendChild and addChild: inserts at the index, or at the end when the
    // sibling is not a child.
    void attachChild(BaseNode* child, bool atEnd, BaseNode* afterSibling);
    void loadChild(CXmlTextReader& reader, const CNodeFactory& factory);
    void loadStates(CXmlTextReader& reader, const CNodeFactory& factory);
    uint32_t positionAfterDelivery(const BaseNode* child, uint32_t index) const;

    CNameId m_name;
    CMatrix4 m_absoluteMatrix;
    CVector3d m_position;
    CVector3d m_rotation;
    CVector3d m_scale{1, 1, 1};
    CVector3d m_bounds{100, 100, 0};
    CVector2d m_pivot;
    CColor m_absoluteColor{0xFFFFFFFFu};
    CColor m_tintColor{0xFFFFFFFFu};
    bool m_transformDirty = true;
    bool m_colorDirty = true;
    BaseNode* m_parent = nullptr;
    CArray<BaseNode*> m_children;
    CMap<CNameId, CRefPointer<NodeState>> m_states;
    CNameId m_defaultState;
    NodeState* m_currentState = nullptr;
    struct PendingChildren {
        CNameId name;
        int32_t count;
    };
    // The children yet to finish each state set on them. An entry whose children all finished
    // serves the next name, so that changing states grows nothing.
    CArray<PendingChildren> m_pendingChildren;
    // What the node reports of its children's states and of its own to its parent, each kind
    // one object raised again: a figure changing direction every few steps allocates nothing.
    CReusedEvent<CEventNodeChildrenStateStarted> m_childrenStarted;
    CReusedEvent<CEventNodeChildrenStateFinished> m_childrenFinished;
    CReusedEvent<CEventNodeChildStateStarted> m_childStarted;
    CReusedEvent<CEventNodeChildStateFinished> m_childFinished;
    SceneManager* m_sceneManager;
    SceneNode* m_scene = nullptr;
    bool m_visible = true;
    bool m_canBeHit = true;
    bool m_internal = false;
    bool m_childrenClipped = false;
};

// A new node of the source's class with its content key under the new parent, filled from the
// source and given OnLoaded; every class's clone is this with its own class.
template <typename Node>
CRefPointer<BaseNode> cloneNodeAs(const Node& source, BaseNode* newParent,
                                  SceneManager* sceneManager) {
    SceneManager* manager = sceneManager != nullptr ? sceneManager : source.getSceneManager();
    CRefPointer<Node> node(new Node(source.getContentKey(), newParent, manager));
    node->cloneMembers(source, manager);
    node->OnLoaded();
    return node;
}
