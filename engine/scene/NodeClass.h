#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/BaseNode.h"

// The identity every node class repeats, made from the class's kTypeId and kTypeName: type and
// class name, type id, the kind test along the class chain, clone (with the class's own
// constructor), the property table and the event-map dispatch. A node class reads
//
//     class SpriteNode : public NodeClass<SpriteNode, BaseNode> {
//     public:
//         static constexpr uint32_t kTypeId = 3;
//         static constexpr const char16_t* kTypeName = u"SpriteNode";
//         SpriteNode(const CContentKey& key, BaseNode* parent, SceneManager* manager);
//         static const PropertyTable& classPropertyTable();  // when it adds properties
//         static const EventMap& getEventMap();              // when it adds hooks
//         ...
//     };
//
// A class that adds no properties or hooks uses its parent's table or map.
template <typename Derived, typename Parent>
class NodeClass : public Parent {
public:
    using Parent::Parent;

    const CStringW& getTypeName() const override {
        static const CStringW name(Derived::kTypeName);
        return name;
    }
    const CStringW& getClassName() const override {
        static const CStringW name(Derived::kTypeName);
        return name;
    }
    uint32_t getTypeId() const override { return Derived::kTypeId; }
    bool isKindOf(uint32_t typeId) const override {
        return typeId == Derived::kTypeId || Parent::isKindOf(typeId);
    }
    CRefPointer<BaseNode> clone(BaseNode* newParent, SceneManager* sceneManager) const override {
        return cloneNodeAs<Derived>(static_cast<const Derived&>(*this), newParent, sceneManager);
    }
    const PropertyTable& getPropertyTable() const override { return Derived::classPropertyTable(); }
    bool OnEvent(CEvent& event) override {
        return this->dispatchThroughEventMap(Derived::getEventMap(), event);
    }
};
