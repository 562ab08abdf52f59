#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "engine/video/AtlasTexture.h"

// The push button: a control whose look is its template, with a caption it shows in the
// template's text node "Text" (a dictionary key or plain text) and an image it shows in the
// template's sprite "Image". Both are kept by the button, so a new template shows them too.
// Focus, hover, press and the click (62, 63, then 64 posted) are the control's; a hovered
// button takes the focus.
class ButtonNode : public NodeClass<ButtonNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 9;
    static constexpr const char16_t* kTypeName = u"ButtonNode";

    ButtonNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Only with a scene manager; then the caption and the image go into the new children.
    void applyTemplate() override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    void setText(const CStringW& caption);
    const CStringW& getText() const { return m_caption; }
    // Holds the image (or none) and shows it in the template's sprite, even when it is the
    // image already held.
    void setImage(CAtlasTexture* image);
    CAtlasTexture* getImage() const { return m_image.get(); }
    TextNode* getTextChild() const { return m_textChild.get(); }
    SpriteNode* getImageChild() const { return m_imageChild.get(); }

protected:
    ~ButtonNode() override = default;

private:
    // Binds "Text" and "Image" of the template's copy.
    void bindTemplateChildren();

    CStringW m_caption;
    CRefPointer<CAtlasTexture> m_image;
    CRefPointer<TextNode> m_textChild;
    CRefPointer<SpriteNode> m_imageChild;
};
