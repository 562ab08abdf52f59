#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneNode.h"

// The message box as the scene manager knows it: a scene made from a template that keeps its
// captions, title and body, and the index of the button that closed it; closing it goes back to
// the scene under it. The controls library derives the full box from it and has the manager
// make that one through the creator.
class MessageBoxBaseNode : public NodeClass<MessageBoxBaseNode, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 7;
    static constexpr const char16_t* kTypeName = u"MessageBoxNode";

    using Creator = CRefPointer<MessageBoxBaseNode> (*)();

    MessageBoxBaseNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // What showMessageBox makes boxes with: this class until a library sets its own.
    static Creator& creator();
    // A box from the creator: empty content key, no parent, no manager.
    static CRefPointer<MessageBoxBaseNode> create();

    virtual void setButtonTexts(const CArray<CStringW>& texts) { m_buttonTexts = texts; }
    virtual void setTitleText(const CStringW& title) { m_title = title; }
    virtual void setBodyText(const CStringW& body) { m_body = body; }

    const CArray<CStringW>& getButtonTexts() const { return m_buttonTexts; }
    const CStringW& getTitleText() const { return m_title; }
    const CStringW& getBodyText() const { return m_body; }
    int32_t getResult() const { return m_result; }
    void setResult(int32_t result) { m_result = result; }

protected:
    ~MessageBoxBaseNode() override = default;

private:
    int32_t m_result = 0;
    CStringW m_title;
    CStringW m_body;
    CArray<CStringW> m_buttonTexts;
};
