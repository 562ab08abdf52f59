#include "engine/scene/SetProps.h"

#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"

SetProps::SetProps() : m_properties(new CProperties()) {
    setInterval(1);
}

void SetProps::setTarget(BaseNode* node) {
    Base::setTarget(node);
    mapProperties();
}

void SetProps::mapProperties() {
    if (getTarget() != nullptr && m_properties->getCount() != 0)
        mapTargetProperties(*m_properties, m_propertyMap);
}

void SetProps::apply(int32_t, bool applyValues) {
    if (!applyValues || getTarget() == nullptr)
        return;
    for (uint32_t entry = 0; entry < m_propertyMap.size(); ++entry) {
        if (m_propertyMap[entry] >= 0)
            getTarget()->setPropertyByIndex(m_propertyMap[entry],
                                            m_properties->getValueAt(int32_t(entry)));
    }
}

CRefPointer<Base> SetProps::clone(BaseNode*, SceneManager*) const {
    CRefPointer<SetProps> copy(new SetProps());
    copy->setName(getName());
    copy->m_properties = m_properties->clone();
    return copy;
}

void SetProps::loadFromXml(CXmlTextReader& reader, IPropertyContentSource* owner,
                           const CStringW& elementName) {
    m_properties = CRefPointer<CProperties>(new CProperties(owner));
    m_properties->readXml(&reader, false, elementName);
    m_propertyMap.truncate(0);
    mapProperties();
}

void SetProps::saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const {
    openXmlElement(writer, elementName, false, CArray<CStringW>(), CArray<CStringW>());
    writer.writeNewLine();
    m_properties->writeXml(&writer, false, elementName, false);
    writer.closeElement(elementName.c_str());
}
