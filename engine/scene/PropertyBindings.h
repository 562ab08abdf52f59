#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "engine/core/Color.h"
#include "engine/core/NameId.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/PropertyData.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/ReflectedObject.h"

// How a C++ value travels in a property value. read takes a value of the expected type as it is
// and turns a missing value or one of another type into zero, false or none; make builds a new
// value holding the C++ value.
template <typename T>
struct PropertyTraits;

template <typename Data, typename T>
struct PropertyScalarTraits {
    static T read(const CPropertyData* value) {
        const Data* typed = castPropertyData<Data>(value);
        return typed ? typed->getValue() : T{};
    }
    static CRefPointer<CPropertyData> make(T value) {
        return CRefPointer<CPropertyData>(new Data(value));
    }
};

template <>
struct PropertyTraits<bool> : PropertyScalarTraits<CPropertyDataBool, bool> {};
template <>
struct PropertyTraits<int32_t> : PropertyScalarTraits<CPropertyDataInt, int32_t> {};
template <>
struct PropertyTraits<float> : PropertyScalarTraits<CPropertyDataFloat, float> {};
template <>
struct PropertyTraits<CColor> : PropertyScalarTraits<CPropertyDataColor, CColor> {};
template <>
struct PropertyTraits<CVector2d> : PropertyScalarTraits<CPropertyDataVector2d, CVector2d> {};
template <>
struct PropertyTraits<CVector3d> : PropertyScalarTraits<CPropertyDataVector3d, CVector3d> {};

// Names take the text of a value of any type; an empty text is the empty name. They travel as
// strings holding the name's text.
template <>
struct PropertyTraits<CNameId> {
    static CNameId read(const CPropertyData* value) { return getPropertyNameId(value); }
    static CRefPointer<CPropertyData> make(CNameId value) { return makeNameProperty(value); }
};

// An atlas texture travels in its own value type, whatever class implements it.
template <>
struct PropertyTraits<IPropertyAtlasTexture*> {
    static IPropertyAtlasTexture* read(const CPropertyData* value) {
        const auto* typed = castPropertyData<CPropertyDataAtlasTexture>(value);
        return typed ? typed->getTexture() : nullptr;
    }
    static CRefPointer<CPropertyData> make(IPropertyAtlasTexture* texture) {
        return makeAtlasTextureProperty(texture);
    }
};

// Fonts and sounds are both plain content; the value type (CPropertyDataFont or
// CPropertyDataSound) says which, so a binding names these traits itself.
template <typename Data>
struct PropertyContentTraits {
    static IPropertyContent* read(const CPropertyData* value) {
        const Data* typed = castPropertyData<Data>(value);
        return typed ? typed->getContent() : nullptr;
    }
    static CRefPointer<CPropertyData> make(IPropertyContent* content) {
        CRefPointer<Data> value(new Data());
        value->setContent(CRefPointer<IPropertyContent>::share(content));
        return value;
    }
};

template <typename Member>
struct PropertyFieldOf;
template <typename Class, typename T>
struct PropertyFieldOf<T Class::*> {
    using Owner = Class;
    using Value = T;
};

template <typename Getter>
struct PropertyGetterOf;
template <typename Class, typename R>
struct PropertyGetterOf<R (Class::*)() const> {
    using Owner = Class;
    using Value = std::remove_cvref_t<R>;
};

// An entry that reads and writes a data member directly.
template <auto Field,
          typename Traits = PropertyTraits<typename PropertyFieldOf<decltype(Field)>::Value>>
PropertyTableEntry fieldProperty(const char* name) {
    using Owner = typename PropertyFieldOf<decltype(Field)>::Owner;
    return {CString(name),
            [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                static_cast<Owner&>(object).*Field = Traits::read(value.get());
            },
            [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                out = Traits::make(static_cast<const Owner&>(object).*Field);
            }};
}

// An entry that goes through the class's getter and setter, so that setting has the setter's
// effects (a dirty transform, a template applied).
template <auto Getter, auto Setter,
          typename Traits = PropertyTraits<typename PropertyGetterOf<decltype(Getter)>::Value>>
PropertyTableEntry accessorProperty(const char* name) {
    using Owner = typename PropertyGetterOf<decltype(Getter)>::Owner;
    return {CString(name),
            [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                (static_cast<Owner&>(object).*Setter)(Traits::read(value.get()));
            },
            [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                out = Traits::make((static_cast<const Owner&>(object).*Getter)());
            }};
}

// Reads the key of the set into the field when the set has it (a value of another type gives
// zero, as for setters); true when it had. Keys are literals, whose length is known here.
template <typename T, size_t N>
bool loadPropertyIfPresent(const CProperties& properties, const char (&name)[N], T& field) {
    const int32_t index = properties.indexOf(name, uint32_t(N - 1));
    if (index < 0)
        return false;
    field = PropertyTraits<T>::read(properties.getValueAt(index).get());
    return true;
}
