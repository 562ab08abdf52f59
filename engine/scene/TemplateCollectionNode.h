#pragma once

#include <cstdint>

#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

// A node whose children are reusable trees, found by their names. Controls fill their template
// root from it, the scene manager builds message boxes from it and game code clones templates.
// Loaded collections are shared: every scene that loads the same file gets the same object.
class TemplateCollectionNode : public NodeClass<TemplateCollectionNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 20;
    static constexpr const char16_t* kTypeName = u"TemplateCollectionNode";

    TemplateCollectionNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Indexes the children by name; the first child of a name wins, and names indexed before
    // stay.
    void OnLoaded() override;

    // No reference added: callers clone what they get.
    BaseNode* getTemplate(CNameId name) const;
    // Replaces the node's children and states by copies of the template's and enters the
    // node's default state. The empty name leaves the node empty and succeeds; a name without
    // a template leaves it empty and fails.
    bool applyTemplate(CNameId name, BaseNode* node) const;

protected:
    ~TemplateCollectionNode() override;

private:
    CMap<CNameId, CRefPointer<BaseNode>> m_templates;
};
