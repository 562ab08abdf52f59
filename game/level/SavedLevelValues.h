#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/String.h"

class CXmlTextReader;
class CXmlTextWriter;

// The values of a saved level ("save.dat"): each in an empty element with one "Value"
// attribute, floats with six decimals and "." whatever the locale, names as their text (the
// empty text for none). The file is the developer's and may be edited by hand, so the readers
// keep every number within what play can carry on from.

// Times and counters above this would overflow while the level ticks on.
inline constexpr int32_t kMaxSavedCount = 1000000000;

CStringW savedNameText(CNameId name);
void writeSavedText(CXmlTextWriter& writer, const char16_t* element, const CStringW& value);
void writeSavedInt(CXmlTextWriter& writer, const char16_t* element, int32_t value);
void writeSavedFloat(CXmlTextWriter& writer, const char16_t* element, float value);
void writeSavedName(CXmlTextWriter& writer, const char16_t* element, CNameId value);

// The integer of the attribute within [low, high]; a missing attribute reads as 0.
int32_t readSavedInt(const CXmlTextReader& reader, const char16_t* attribute, int32_t low,
                     int32_t high);
// The "Value" as a count or time: 0 to kMaxSavedCount.
int32_t readSavedCount(const CXmlTextReader& reader);
// The "Value" within [low, high]; a value that is not a finite number gives the fallback.
float readSavedFloat(const CXmlTextReader& reader, float low, float high, float fallback);
// The names of a ";"-joined list, "None" standing for none; the empty text is no name at all.
CArray<CNameId> readSavedNameList(const CXmlTextReader& reader, const char16_t* attribute);
// A value that lies outside the table of its kind is refused, with a warning.
bool isSavedIndexIn(int32_t value, int32_t count, const char16_t* what);
// Reads past the element the reader stands on, its content included.
void skipSavedElement(CXmlTextReader& reader);
