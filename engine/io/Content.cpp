#include "engine/io/Content.h"

#include "engine/io/ContentManager.h"

CRefPointer<CContent> CContent::makeCopy() const {
    return nullptr;
}

IPropertyContentSource* CContent::getContentSource() const {
    return m_key.getOwner();
}
