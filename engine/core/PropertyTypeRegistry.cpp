#include "engine/core/PropertyTypeRegistry.h"

#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"

namespace {

template <typename Value>
CRefPointer<CPropertyData> createValue(IPropertyContentSource*) {
    return CRefPointer<CPropertyData>(new Value());
}

template <typename Value>
CRefPointer<CPropertyData> createContentValue(IPropertyContentSource* owner) {
    return CRefPointer<CPropertyData>(new Value(owner));
}

} // namespace

CPropertyTypeRegistry::CPropertyTypeRegistry() {
    registerType(CPropertyDataBool::kKeyword, createValue<CPropertyDataBool>);
    registerType(CPropertyDataInt::kKeyword, createValue<CPropertyDataInt>);
    registerType(CPropertyDataFloat::kKeyword, createValue<CPropertyDataFloat>);
    registerType(CPropertyDataColor::kKeyword, createValue<CPropertyDataColor>);
    registerType(CPropertyDataColorf::kKeyword, createValue<CPropertyDataColorf>);
    registerType(CPropertyDataVector2d::kKeyword, createValue<CPropertyDataVector2d>);
    registerType(CPropertyDataVector3d::kKeyword, createValue<CPropertyDataVector3d>);
    registerType(CPropertyDataRect::kKeyword, createValue<CPropertyDataRect>);
    registerType(CPropertyDataString::kKeyword, createValue<CPropertyDataString>);
    registerType(CPropertyDataStringW::kKeyword, createValue<CPropertyDataStringW>);
    registerType(CPropertyDataStringWArray::kKeyword, createValue<CPropertyDataStringWArray>);
    registerType(CPropertyDataFont::kKeyword, createContentValue<CPropertyDataFont>);
    registerType(CPropertyDataAtlasTexture::kKeyword,
                 createContentValue<CPropertyDataAtlasTexture>);
    registerType(CPropertyDataSound::kKeyword, createContentValue<CPropertyDataSound>);
    registerType(CPropertyDataProperties::kKeyword, createValue<CPropertyDataProperties>);
}

CPropertyTypeRegistry* CPropertyTypeRegistry::shared() {
    static const CRefPointer<CPropertyTypeRegistry> registry(new CPropertyTypeRegistry());
    return registry.get();
}

CRefPointer<CPropertyData> CPropertyTypeRegistry::create(const CStringW& keyword,
                                                         IPropertyContentSource* owner) const {
    const Entry* entry = find(keyword);
    return entry ? entry->creator(owner) : CRefPointer<CPropertyData>();
}

void CPropertyTypeRegistry::registerType(const CStringW& keyword, Creator creator) {
    if (find(keyword) == nullptr)
        m_creators.append(Entry{keyword, creator});
}

const CPropertyTypeRegistry::Entry* CPropertyTypeRegistry::find(const CStringW& keyword) const {
    for (const Entry& entry : m_creators) {
        if (entry.keyword == keyword)
            return &entry;
    }
    return nullptr;
}
