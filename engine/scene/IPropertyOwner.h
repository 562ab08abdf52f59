#pragma once

class CProperties;

// An object that writes its non-default property values into a set and reads them back; scene
// files store exactly these sets.
class IPropertyOwner {
public:
    virtual void saveProperties(CProperties&) const {}
    virtual void loadProperties(const CProperties&) {}

protected:
    ~IPropertyOwner() = default;
};
