#include "engine/io/ProfileParameters.h"

#include "engine/io/ProfileManager.h"

bool CProfileParameters::notifyChanged() {
    return m_manager && m_manager->onParametersChanged(this);
}

void CProfileParameters::addMissingFrom(const CProperties& other) {
    for (int32_t i = 0; i < other.getCount(); ++i) {
        const CString& name = other.getNameAt(i);
        if (indexOf(name) != -1)
            continue;
        add(name, clonePropertyValue(other.getValueAt(i)));
    }
}

bool CProfileParameters::readParameters(CXmlTextReader* reader) {
    return readXml(reader, false, u"Parameters");
}

bool CProfileParameters::writeParameters(CXmlTextWriter* writer) const {
    return writeXml(writer, false, u"Parameters", true);
}
