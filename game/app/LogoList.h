#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"

class CXmlTextReader;

// A logo of the start: an image shown for a time, which a click may cut short when it is
// skippable.
struct LogoEntry {
    CString image;
    int32_t timeMs = 0;
    bool skippable = false;
};

// A logo of the main menu with the address it links to; read and kept, never shown.
struct MMLogoEntry {
    CString image;
    CVector2d position;
    CString address;
};

// The logos of "logos/Logos.xml" in file order. The logos scene takes the start's logos from
// the front as it shows them.
class GLogoList : public CRefCounted {
public:
    GLogoList() = default;

    // Appends every "Logo" and "MMLogo" element up to the end tag "Logos" (or the end of the
    // text); other elements are passed over with their attributes, and nesting does not matter.
    void load(CXmlTextReader& reader);

    CArray<LogoEntry>& getLogos() { return m_logos; }
    const CArray<MMLogoEntry>& getMenuLogos() const { return m_menuLogos; }

protected:
    ~GLogoList() override = default;

private:
    CArray<LogoEntry> m_logos;
    CArray<MMLogoEntry> m_menuLogos;
};
