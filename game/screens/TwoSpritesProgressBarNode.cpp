#include "game/screens/TwoSpritesProgressBarNode.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SpriteImage.h"

GTwoSpritesProgressBarNode::GTwoSpritesProgressBarNode(const CContentKey& key, BaseNode* parent,
                                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager), m_first(makeSprite("_Texture1")),
      m_second(makeSprite("_Texture2")) {}

GTwoSpritesProgressBarNode::~GTwoSpritesProgressBarNode() {
    releaseSprite(m_first);
    releaseSprite(m_second);
}

SpriteNode* GTwoSpritesProgressBarNode::makeSprite(const char* name) {
    CRefPointer<SpriteNode> sprite(new SpriteNode(CContentKey(), nullptr, nullptr));
    sprite->setName(CNameId(CString(name)));
    sprite->setInternal(true);
    sprite->setImageStretchX(SpriteNode::STRETCH_CROP);
    sprite->setImageStretchY(SpriteNode::STRETCH_CROP);
    // The attachment's reference is the bar's; the creation reference goes with `sprite`.
    sprite->setParent(this);
    return sprite.get();
}

void GTwoSpritesProgressBarNode::releaseSprite(SpriteNode* sprite) {
    sprite->setParent(nullptr);
    sprite->release();
}

const PropertyTable& GTwoSpritesProgressBarNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseProgressBarNode::classPropertyTable(),
        {
            accessorProperty<&GTwoSpritesProgressBarNode::getAtlasTexture1,
                             &GTwoSpritesProgressBarNode::setAtlasTexture1>("AtlasTexture1"),
            accessorProperty<&GTwoSpritesProgressBarNode::getAtlasTexture2,
                             &GTwoSpritesProgressBarNode::setAtlasTexture2>("AtlasTexture2"),
        });
    return table;
}

void GTwoSpritesProgressBarNode::setAtlasTexture1(CAtlasTexture* texture) {
    m_first->setImage(texture);
    updateVisual();
}

void GTwoSpritesProgressBarNode::setAtlasTexture2(CAtlasTexture* texture) {
    m_second->setImage(texture);
    updateVisual();
}

// Placing the sprites

void GTwoSpritesProgressBarNode::place(SpriteNode& sprite, float x, float y, float width,
                                       float height, CVector2d pivot) {
    sprite.setPosition({x, y, sprite.getPosition().z});
    sprite.setBounds({width, height, sprite.getBounds().z});
    sprite.setImagePivotPoint(pivot);
}

void GTwoSpritesProgressBarNode::updateVisual() {
    const CAtlasTexture* image = m_first->getImage();
    const IDriverTexture* page = image != nullptr ? image->getDriverTexture() : nullptr;
    if (page == nullptr)
        return;
    const float range = getMaxValue() - getMinValue();
    float ratio = range > 0 ? (getValue() - getMinValue()) / range : 0;
    // Values loaded from a file are not checked: the sprites stay within the image.
    ratio = std::isfinite(ratio) ? std::clamp(ratio, 0.0f, 1.0f) : 0;
    const CRect& rect = image->getRect();
    const float w = (rect.right - rect.left) * float(page->getSize().width);
    const float h = (rect.bottom - rect.top) * float(page->getSize().height);
    const CVector3d& bounds = getBounds();
    if (bounds.y <= bounds.x) {
        place(*m_first, w * ratio, 0, w * (1 - ratio), h, {w * ratio, 0});
        place(*m_second, 0, 0, w * ratio, h, {0, 0});
    } else {
        const float top = h * (1 - ratio);
        place(*m_second, 0, top, w, h * ratio, {0, top});
        place(*m_first, m_second->getPosition().x, 0, w, top, {0, 0});
    }
}

void GTwoSpritesProgressBarNode::OnLoaded() {
    BaseProgressBarNode::OnLoaded();
    updateVisual();
}

// Drawing and transforms

void GTwoSpritesProgressBarNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    m_first->collectDrawables(list);
    m_second->collectDrawables(list);
    BaseProgressBarNode::collectDrawables(list);
}

void GTwoSpritesProgressBarNode::updateAbsoluteTransform() {
    BaseProgressBarNode::updateAbsoluteTransform();
    m_first->updateAbsoluteTransform();
    m_second->updateAbsoluteTransform();
}

void GTwoSpritesProgressBarNode::updateAbsoluteColor() {
    BaseProgressBarNode::updateAbsoluteColor();
    m_first->updateAbsoluteColor();
    m_second->updateAbsoluteColor();
}

// Copying and properties

void GTwoSpritesProgressBarNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseProgressBarNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& bar = static_cast<const GTwoSpritesProgressBarNode&>(source);
    m_first->setImage(bar.getAtlasTexture1());
    m_second->setImage(bar.getAtlasTexture2());
    updateVisual();
}

void GTwoSpritesProgressBarNode::saveProperties(CProperties& properties) const {
    BaseProgressBarNode::saveProperties(properties);
    if (CAtlasTexture* texture = getAtlasTexture1())
        properties.addAtlasTexture("AtlasTexture1", texture);
    if (CAtlasTexture* texture = getAtlasTexture2())
        properties.addAtlasTexture("AtlasTexture2", texture);
}

void GTwoSpritesProgressBarNode::loadProperties(const CProperties& properties) {
    BaseProgressBarNode::loadProperties(properties);
    CAtlasTexture* texture = nullptr;
    if (loadPropertyIfPresent(properties, "AtlasTexture1", texture))
        m_first->setImage(texture);
    if (loadPropertyIfPresent(properties, "AtlasTexture2", texture))
        m_second->setImage(texture);
}
