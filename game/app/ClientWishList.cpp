#include "game/app/ClientWishList.h"

#include "engine/core/Logger.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ConfigValues.h"

namespace {

constexpr const char16_t* kFilterNames[] = {u"Sequental", u"Any", u"Any1", u"Any2", u"Any3"};
constexpr int32_t kFilterCount = int32_t(sizeof(kFilterNames) / sizeof(kFilterNames[0]));

constexpr const char* kColorNames[] = {"Neutral", "Blue", "Red", "Green", "Magenta", "Yellow"};
constexpr uint32_t kColorCount = uint32_t(sizeof(kColorNames) / sizeof(kColorNames[0]));

} // namespace

// Read without recursion: the nodes still open are kept on a list, the innermost last. Nodes
// past the depth limit are counted, not kept, so that their end tags still close them.
void GClientWishList::load(CXmlTextReader& reader) {
    readAttributes(reader);
    if (reader.isEmptyElement())
        return;
    const char16_t* const endName = elementName();
    CArray<GClientWishList*> open;
    open.append(this);
    int32_t droppedDepth = 0;
    while (reader.readNext()) {
        GClientWishList* const current = open[open.size() - 1];
        if (isElement(reader, u"Resource")) {
            const bool hasContent = !reader.isEmptyElement();
            if (droppedDepth > 0 || int32_t(open.size()) > kMaxDepth) {
                if (droppedDepth == 0)
                    CLogger::instance()->log(u"Wish list nested too deeply; inner wishes dropped",
                                             CLogger::LevelWarning);
                droppedDepth += hasContent ? 1 : 0;
                continue;
            }
            CRefPointer<GClientWishList> child(new GClientWishList(current));
            child->readAttributes(reader);
            current->appendChild(child);
            if (hasContent)
                open.append(child.get());
        } else if (isElement(reader, u"AdditionalItems")) {
            if (droppedDepth > 0)
                readElementsUntilEnd(reader, u"AdditionalItems", [] {});
            else
                current->loadAdditionalItems(reader);
        } else if (isEndElement(reader, open.size() == 1 ? endName : u"Resource")) {
            if (droppedDepth > 0) {
                --droppedDepth;
                continue;
            }
            open.eraseAt(open.size() - 1);
            if (open.size() == 0)
                return;
        }
    }
}

void GClientWishList::save(CXmlTextWriter& writer) const {
    const CStringW nameText(name.toString().c_str());
    const CStringW filterText = getWishFilterName(filterKind);
    const bool isEmpty = m_children.size() == 0 && additionalItems.size() == 0;
    writer.openElement(elementName(), isEmpty, name == CNameId() ? nullptr : u"Name",
                       nameText.c_str(), filterKind == 0 ? nullptr : u"Filter", filterText.c_str());
    writer.writeNewLine();
    if (isEmpty)
        return;
    for (const CRefPointer<GClientWishList>& child : m_children)
        child->save(writer);
    if (additionalItems.size() > 0)
        saveAdditionalItems(writer);
    writer.closeElement(elementName());
    writer.writeNewLine();
}

void GClientWishList::readAttributes(const CXmlTextReader& reader) {
    name = readNameAttribute(reader, u"Name");
    filterKind = getWishFilterKind(reader.getAttribute(u"Filter"));
}

void GClientWishList::loadAdditionalItems(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"AdditionalItems", [&] {
        if (reader.nodeName() != u"I")
            return;
        GAdditionalItem item;
        item.name = readNameAttribute(reader, u"Name");
        item.modifications = readIntListAttribute(reader, u"Modifications");
        item.timeRange = readTimeRangeAttribute(reader, u"TimeRange");
        item.probability = reader.getAttributeFloat(u"Probability", 0);
        additionalItems.append(item);
    });
}

void GClientWishList::saveAdditionalItems(CXmlTextWriter& writer) const {
    writer.openElement(u"AdditionalItems", false);
    writer.writeNewLine();
    for (const GAdditionalItem& item : additionalItems) {
        const CStringW itemName(item.name.toString().c_str());
        const CStringW modifications(joinIntList(item.modifications).c_str());
        CStringW timeRange(item.timeRange.from);
        timeRange.append(u";").append(item.timeRange.to);
        const CStringW probability(item.probability);
        writer.openElement(u"I", true, u"Name", itemName.c_str(), u"Modifications",
                           modifications.c_str(), u"TimeRange", timeRange.c_str(), u"Probability",
                           probability.c_str());
        writer.writeNewLine();
    }
    writer.closeElement(u"AdditionalItems");
    writer.writeNewLine();
}

const char16_t* GClientWishList::elementName() const {
    return m_parent != nullptr ? u"Resource" : u"ClientWishList";
}

int32_t getWishFilterKind(const CStringW& text) {
    for (int32_t kind = 0; kind < kFilterCount; ++kind) {
        if (text == kFilterNames[kind])
            return kind;
    }
    return 0;
}

CStringW getWishFilterName(int32_t kind) {
    return kind >= 0 && kind < kFilterCount ? CStringW(kFilterNames[kind]) : CStringW();
}

CString getColorName(int32_t index) {
    return uint32_t(index) < kColorCount ? CString(kColorNames[index]) : CString();
}
