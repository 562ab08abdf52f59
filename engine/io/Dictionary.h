#pragma once

#include "engine/core/Map.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

class CXmlTextReader;

// The localised texts of the game by 8-bit key. Texts shown by nodes carry their keys between
// percent signs ("%OkBtn%"); a key without a text shows as itself between percent signs.
class CDictionary : public CRefCounted {
public:
    CDictionary() = default;

    // The text with every "%key%" replaced by the key's text and "%%" by one "%". A "%" that
    // has no closing "%" keeps the rest of the text as it stands.
    CStringW expandKeys(const CStringW& text) const;
    // The key's text; "%key%" when the key has none.
    CStringW lookup(const CString& key) const;
    // The key's text with its first four "#p" or "#P" markers replaced by the parameters in
    // order; later markers stay.
    CStringW substituteParams(const CString& key, const CStringW& first, const CStringW& second,
                              const CStringW& third, const CStringW& fourth) const;
    // Adds the texts of a "Dictionary" ("s" elements) or "texts" ("phrase" elements) document,
    // replacing the texts of keys it repeats. False without a reader.
    bool readXml(CXmlTextReader* reader);

protected:
    ~CDictionary() override = default;

private:
    void readStrings(CXmlTextReader& reader);
    void readPhrases(CXmlTextReader& reader);

    CMap<CString, CStringW> m_texts;
};
