#pragma once

#include "engine/core/Array.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

// Makes an empty property value from its type keyword, as property sets do when they read XML.
class CPropertyTypeRegistry : public CRefCounted {
public:
    // Creators take the owner; only the content types keep it, as their content source.
    using Creator = CRefPointer<CPropertyData> (*)(IPropertyContentSource* owner);

    // Knows the fifteen property types.
    CPropertyTypeRegistry();

    // The registry property sets read with, built on first use and released at exit. The
    // engine services hold a reference to it.
    static CPropertyTypeRegistry* shared();

    // A new value for exactly that keyword (case counts); empty for an unknown keyword.
    CRefPointer<CPropertyData> create(const CStringW& keyword, IPropertyContentSource* owner) const;

protected:
    ~CPropertyTypeRegistry() override = default;

private:
    // A keyword that is present keeps its first creator.
    void registerType(const CStringW& keyword, Creator creator);

    struct Entry {
        CStringW keyword;
        Creator creator;
    };

    // Nothing for an unknown keyword.
    const Entry* find(const CStringW& keyword) const;

    // Searched in order: with fifteen short keywords that mostly differ in length, a scan
    // beats a tree of string comparisons, and every property read from a file looks here.
    CArray<Entry> m_creators;
};
