#include "game/screens/MapLocationButton.h"

#include "engine/core/NameId.h"
#include "engine/core/Properties.h"
#include "engine/io/ContentManager.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/TemplateChild.h"
#include "engine/video/AtlasTexture.h"

namespace {

const char16_t* starImageName(int32_t type) {
    switch (type) {
    case GMapLocationButton::STAR_GOLD:
        return u"scenes/images/Map/GoldStar.png";
    case GMapLocationButton::STAR_SILVER:
        return u"scenes/images/Map/SilverStar.png";
    case GMapLocationButton::STAR_BRONZE:
        return u"scenes/images/Map/BronzeStar.png";
    default:
        return nullptr;
    }
}

} // namespace

const PropertyTable& GMapLocationButton::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ButtonNode::classPropertyTable(),
        {fieldProperty<&GMapLocationButton::m_associatedLevelIndex>("AssociatedLevelIndex")});
    return table;
}

void GMapLocationButton::setCurrent(bool current) {
    static const CNameId currentLook(CString("MapButtonCurrent"));
    static const CNameId ordinaryLook(CString("MapButton"));
    setTemplateName(current ? currentLook : ordinaryLook);
}

void GMapLocationButton::setStarType(int32_t type) {
    m_starType = type;
    if (!m_star)
        return;
    const char16_t* name = starImageName(type);
    CContentManager* content = getContentManager();
    CRefPointer<CContent> image;
    if (name != nullptr && content != nullptr)
        image = content->loadAtlasTexture(name, true);
    m_star->setImage(static_cast<CAtlasTexture*>(image.get()));
}

void GMapLocationButton::setEnabled(bool enabled) {
    ControlNode::setEnabled(enabled);
    if (m_star)
        m_star->setVisible(enabled);
}

void GMapLocationButton::bindStar() {
    m_star = holdTemplateChild<SpriteNode>(*this, "Star");
    // A look applied while the level is locked must not bring its star back.
    if (m_star)
        m_star->setVisible(isEnabled());
}

void GMapLocationButton::applyTemplate() {
    ButtonNode::applyTemplate();
    bindStar();
    setStarType(m_starType);
}

void GMapLocationButton::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ButtonNode::cloneMembers(source, sceneManager);
    bindStar();
    if (!source.isKindOf(kTypeId))
        return;
    const auto& button = static_cast<const GMapLocationButton&>(source);
    m_associatedLevelIndex = button.m_associatedLevelIndex;
    m_starType = button.m_starType;
}

void GMapLocationButton::saveProperties(CProperties& properties) const {
    ButtonNode::saveProperties(properties);
    if (m_associatedLevelIndex != -1)
        properties.addInt("AssociatedLevelIndex", m_associatedLevelIndex);
}

void GMapLocationButton::loadProperties(const CProperties& properties) {
    ButtonNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "AssociatedLevelIndex", m_associatedLevelIndex);
}
