#include "engine/ui/ButtonNode.h"

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SpriteImage.h"
#include "engine/ui/TemplateChild.h"

ButtonNode::ButtonNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setFocusOnHover(true);
}

const PropertyTable& ButtonNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&ButtonNode::getText, &ButtonNode::setText>("Text"),
            accessorProperty<&ButtonNode::getImage, &ButtonNode::setImage>("Image"),
        });
    return table;
}

void ButtonNode::setText(const CStringW& caption) {
    m_caption = caption;
    if (m_textChild)
        m_textChild->setText(m_caption);
}

void ButtonNode::setImage(CAtlasTexture* image) {
    if (image != m_image.get())
        m_image = CRefPointer<CAtlasTexture>::share(image);
    if (m_imageChild)
        m_imageChild->setImage(image);
}

void ButtonNode::bindTemplateChildren() {
    m_textChild = holdTemplateChild<TextNode>(*this, "Text");
    m_imageChild = holdTemplateChild<SpriteNode>(*this, "Image");
}

void ButtonNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    bindTemplateChildren();
    if (m_textChild)
        m_textChild->setText(m_caption);
    setImage(m_image.get());
}

void ButtonNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    bindTemplateChildren();
    if (!source.isKindOf(kTypeId))
        return;
    const auto& button = static_cast<const ButtonNode&>(source);
    setText(button.m_caption);
    setImage(button.m_image.get());
}

void ButtonNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (!m_caption.isEmpty())
        properties.addStringW("Text", m_caption);
    if (m_image)
        properties.addAtlasTexture("Image", m_image.get());
}

void ButtonNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    CStringW caption;
    if (loadPropertyIfPresent(properties, "Text", caption))
        setText(caption);
    CAtlasTexture* image = nullptr;
    if (loadPropertyIfPresent(properties, "Image", image))
        setImage(image);
}
