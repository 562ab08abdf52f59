#pragma once

#include <cstdint>

#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"

// A hint pop-up: a panel with a title, a text and up to three arrows pointing at what it
// explains. It only finds those children and starts hidden; the screen that shows it fills the
// texts, places it and plays its states.
class GHintNode : public NodeClass<GHintNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 1128;
    static constexpr const char16_t* kTypeName = u"GHintNode";

    GHintNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
        : NodeClass(key, parent, sceneManager) {}

    // Binds the direct children "Title" and "Text" (text nodes only), "Arrow", "ArrowL" and
    // "ArrowR", and hides the node whatever its file said.
    void OnLoaded() override;

    TextNode* getTitle() const { return m_title; }
    TextNode* getText() const { return m_text; }
    BaseNode* getArrow() const { return m_arrow; }
    BaseNode* getArrowLeft() const { return m_arrowLeft; }
    BaseNode* getArrowRight() const { return m_arrowRight; }

protected:
    ~GHintNode() override = default;

private:
    // Children, owned by the child list.
    TextNode* m_title = nullptr;
    TextNode* m_text = nullptr;
    BaseNode* m_arrow = nullptr;
    BaseNode* m_arrowLeft = nullptr;
    BaseNode* m_arrowRight = nullptr;
};
