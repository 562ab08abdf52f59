#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Color.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"

class CXmlTextReader;
class CXmlTextWriter;

// An ordered set of named property values. Adding appends an entry and points the name at
// it, so a lookup finds the newest entry of a name while older ones stay in the order (they
// are still counted, written and cloned). Setting replaces the value of the entry the name
// points at. Entries may hold no value.
class CProperties : public CRefCounted {
public:
    // Nested sets deeper than this below the set being read are skipped.
    static constexpr int32_t kMaxReadDepth = 64;

    // Content values read into the set load through the owner, as long as it lives.
    explicit CProperties(IPropertyContentSource* owner = nullptr);

    IPropertyContentSource* getOwner() const { return sourceOf(m_owner); }

    int32_t getCount() const { return int32_t(m_entries.size()); }
    // The name of the entry at a position; empty out of range.
    const CString& getNameAt(int32_t position) const;

    // The newest entry of the name; empty when absent or when the entry holds no value.
    CRefPointer<CPropertyData> get(const CString& name) const;
    // -1 when absent.
    int32_t indexOf(const CString& name) const;
    // The same for a fixed key, without building a string for it.
    int32_t indexOf(const char* name) const;
    // The same for the first length characters of the text.
    int32_t indexOf(const char* name, uint32_t length) const;
    // Empty out of range.
    CRefPointer<CPropertyData> getValueAt(int32_t position) const;

    void add(CString name, CRefPointer<CPropertyData> value);
    void set(const CString& name, CRefPointer<CPropertyData> value);
    // Out of range: ignored.
    void setAt(int32_t position, CRefPointer<CPropertyData> value);
    void clear();

    // A new set with the same owner and clones of every value.
    CRefPointer<CProperties> clone() const;

    // Reads the values of the element the reader stands on (named elementName, "Properties"
    // when empty), after clearing the set; standing on another element, up to the end of the
    // set's element inside it, or up to that element when it is a single tag. False without a
    // reader, when checkName is set and the element has another name, and when a nested set was
    // too deep to read (what could be read is kept).
    bool readXml(CXmlTextReader* reader, bool checkName, const CStringW& elementName);
    // Reads one value from the element the reader stands on, named by its keyword, and adds
    // it under its "Name"; a value without a name is dropped, an unknown keyword adds an entry
    // without value.
    void readPropertyXml(CXmlTextReader& reader);
    // Every entry holding a value, each followed by a line end; with writeElement inside an
    // element named elementName ("Properties" when empty). False without a writer.
    bool writeXml(CXmlTextWriter* writer, bool writeHeader, const CStringW& elementName,
                  bool writeElement) const;

    // The value of the name; 0 or false when the name is absent or holds another type.
    int32_t getInt(const CString& name) const;
    bool getBool(const CString& name) const;
    float getFloat(const CString& name) const;
    // The text of a value of any type; empty when absent.
    CString getString(const CString& name) const;
    CStringW getStringW(const CString& name) const;

    void setInt(const CString& name, int32_t value);
    void setBool(const CString& name, bool value);
    void setFloat(const CString& name, float value);
    void setString(const CString& name, const CString& value);

    void addInt(const CString& name, int32_t value);
    void addBool(const CString& name, bool value);
    void addFloat(const CString& name, float value);
    void addColor(const CString& name, CColor value);
    void addVector2d(const CString& name, CVector2d value);
    void addVector3d(const CString& name, CVector3d value);
    void addString(const CString& name, const CString& value);
    void addStringW(const CString& name, const CStringW& value);
    void addStringArray(const CString& name, const CArray<CStringW>& value);
    void addAtlasTexture(const CString& name, IPropertyAtlasTexture* texture);

protected:
    ~CProperties() override;

private:
    friend class CPropertyDataProperties;

    struct Entry {
        CString name;
        CRefPointer<CPropertyData> value;
    };
    struct NameSlot {
        uint32_t length;
        int32_t position;
    };

    bool readXmlAtDepth(CXmlTextReader* reader, bool checkName, const CStringW& elementName,
                        int32_t depth);
    bool readElementXml(CXmlTextReader& reader, bool checkName, const char16_t* name,
                        int32_t depth);
    bool readPropertyXmlAtDepth(CXmlTextReader& reader, int32_t depth);
    int compareSlot(const NameSlot& slot, const char* name, uint32_t length) const;
    uint32_t slotOf(const char* name, uint32_t length) const;
    bool slotHolds(uint32_t slot, const char* name, uint32_t length) const;
    void addEntry(Entry&& entry);
    // A spare entry, renamed, while there are any; else a new one without value.
    Entry takeSpareEntry(const CStringW& name);

    CRefPointer<CContentSourceLink> m_owner;
    CArray<Entry> m_entries;
    // The position of the newest entry of each name, with the name's length, ordered by name.
    // Sets are read for every node of a scene file: a sorted array is searched without building
    // a key and grows without allocating per entry.
    CArray<NameSlot> m_newestByName;
    // The entries emptied by the last clear, taken over in order by the entries read from a
    // file afterwards: their names' buffers, and their values when these are plain numbers or
    // texts nobody else holds (others are released at once). A set read again and again, as
    // scene files read one per node, then reads without allocating.
    CArray<Entry> m_spareEntries;
    uint32_t m_spareEntriesUsed = 0;
};

// Sets a stringw value under the name.
void setPropertyStringW(CProperties& properties, const CString& name, const CStringW& value);
