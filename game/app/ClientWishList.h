#pragma once

#include <cstdint>
#include <utility>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "game/app/AdditionalItem.h"

class CXmlTextReader;
class CXmlTextWriter;

// One node of a wish-list tree: a configured list ("ClientWishList" records) or the list of a
// live client. The root of a configured list carries the list's name, a leaf the name of the
// resource wished for.
class GClientWishList : public CRefCounted {
public:
    // Nodes nested deeper than this below the root are dropped when a tree is read, so that
    // no file can make reading, writing or releasing a tree exhaust the stack.
    static constexpr int32_t kMaxDepth = 32;

    // The parent is not owned: it owns its children.
    explicit GClientWishList(GClientWishList* parent) : m_parent(parent) {}

    GClientWishList* getParent() const { return m_parent; }
    const CArray<CRefPointer<GClientWishList>>& getChildren() const { return m_children; }
    void appendChild(CRefPointer<GClientWishList> child) { m_children.append(std::move(child)); }
    // Releases the child.
    void removeChildAt(uint32_t index) { m_children.eraseAt(index); }

    // Reads the node's attributes and content from the element the reader stands on.
    void load(CXmlTextReader& reader);
    // Writes the node and its subtree, one element per node, depth first.
    void save(CXmlTextWriter& writer) const;

    CNameId name;
    // One of the filter kinds of getWishFilterKind; kept, but play does not consult it.
    int32_t filterKind = 0;
    CArray<GAdditionalItem> additionalItems;
    // Milliseconds of service done on this wish, counted by the client; never stored here.
    float orderTime = 0;

protected:
    ~GClientWishList() override = default;

private:
    void readAttributes(const CXmlTextReader& reader);
    void loadAdditionalItems(CXmlTextReader& reader);
    void saveAdditionalItems(CXmlTextWriter& writer) const;
    const char16_t* elementName() const;

    GClientWishList* m_parent;
    CArray<CRefPointer<GClientWishList>> m_children;
};

// The kind whose name ("Sequental", "Any", "Any1", "Any2", "Any3") equals the text exactly;
// 0 for any other text.
int32_t getWishFilterKind(const CStringW& text);
// The name of kinds 0 to 4; empty for any other kind.
CStringW getWishFilterName(int32_t kind);

// The name of a client colour: 0 "Neutral", 1 "Blue", 2 "Red", 3 "Green", 4 "Magenta",
// 5 "Yellow"; empty for any other index.
CString getColorName(int32_t index);
