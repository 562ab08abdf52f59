#pragma once

#include "engine/core/Properties.h"
#include "engine/core/PropertyData.h"
#include "engine/scene/PropertyBindings.h"

// How emitters read their members from a property set: a key that is present stores its
// value, one of another kind (or an entry without value) stores zero; an absent key leaves the
// member as it is. True when the key was present.
template <typename T>
bool loadPropertyValue(const CProperties& properties, const char* key, T& member) {
    const int32_t position = properties.indexOf(key);
    if (position < 0)
        return false;
    member = PropertyTraits<T>::read(properties.getValueAt(position).get());
    return true;
}

// Ranges are written only when they differ from their default.
inline void saveVector2d(CProperties& properties, const char* key, CVector2d value,
                         CVector2d defaultValue) {
    if (!(value == defaultValue))
        properties.addVector2d(key, value);
}
