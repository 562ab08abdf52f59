#include "game/app/LocationResource.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

void readProvidedResources(CXmlTextReader& reader, CArray<LocationResource>& resources,
                           LocationResourceDefaults defaults) {
    readElementsUntilEnd(reader, u"ProvidedResources", [&] {
        if (reader.nodeName() != u"Resource")
            return;
        LocationResource resource;
        resource.name = readNameAttribute(reader, u"Name");
        resource.initialAmount = reader.getAttributeInt(u"InitialAmount", -1);
        resource.maxAmount = reader.getAttributeInt(u"MaxAmount", defaults.maxAmount);
        if (defaults.initialFromMax && resource.initialAmount == -1)
            resource.initialAmount = resource.maxAmount;
        resource.amount = float(resource.initialAmount);
        resources.append(resource);
    });
}
