#include "engine/io/ProfileParameters.h"

#include "engine/io/ProfileManager.h"

bool CProfileParameters::notifyChanged() {
    return m_manager && m_manager->onParametersChanged(this);
}

void CProfileParameters::addMissingFrom(const CProperties& other) {
    for (int32_t i = 0; i < other.getCount(); ++i) {
        const CString& name = other.getNameAt(i);
        const int32_t index = indexOf(name);
        if (index == -1)
            add(name, clonePropertyValue(other.getValueAt(i)));
        else if (!getValueAt(index))
            set(name, clonePropertyValue(other.getValueAt(i)));
    }
}

bool CProfileParameters::readParameters(CXmlTextReader* reader) {
    return readXml(reader, false, u"Parameters");
}

bool CProfileParameters::writeParameters(CXmlTextWriter* writer) const {
    return writeXml(writer, false, u"Parameters", true);
}
