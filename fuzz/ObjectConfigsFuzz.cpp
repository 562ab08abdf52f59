// Reads an arbitrary document as object configuration, derives and resolves it, asks for every
// record, and writes each wish list and reads it back: once written and read, a list writes
// the same bytes again.
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/app/ObjectConfigurations.h"

namespace {

std::vector<uint8_t> written(const GClientWishList& list) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"list.xml", 4096));
    {
        CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        writer->writeHeader();
        list.save(*writer);
    }
    std::vector<uint8_t> bytes(size_t(file->getLength()));
    file->seekTo(0, false);
    file->readBytes(bytes.data(), int32_t(bytes.size()));
    return bytes;
}

CRefPointer<GClientWishList> readList(const std::vector<uint8_t>& bytes) {
    CRefPointer<CMemoryBlockFile> file = makeFuzzInputFile(bytes.data(), bytes.size(), u"list");
    CRefPointer<CXmlTextReader> reader = readConfigDocument(*file);
    while (reader->readNext() && reader->nodeKind() != CXmlTextReader::kElement) {
    }
    CRefPointer<GClientWishList> list(new GClientWishList(nullptr));
    list->load(*reader);
    return list;
}

uint32_t visitRecords(const ObjectConfigurations& configurations) {
    uint32_t checksum = 0;
    for (const auto& entry : configurations.getLocations()) {
        const GLocationConfig& location = *entry.value;
        checksum += location.providedResources.size();
        for (const LocationResource& resource : location.providedResources)
            checksum += configurations.getResourceConfig(resource.name) != nullptr ? 1 : 0;
        // Compared, not converted: a file may give any float, infinities included.
        checksum += location.lookupClientPointA(location.name).x != 0.0f ? 1 : 0;
        checksum += location.lookupClientValue(location.name) != 0.0f ? 1 : 0;
    }
    for (const auto& entry : configurations.getResources()) {
        checksum += configurations.getResourceConfig(entry.value->unmodifiedResource) ? 1 : 0;
        checksum += isSpecialItemType(entry.value->itemType) ? 1 : 0;
    }
    return checksum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CRefPointer<CXmlTextReader> reader = readConfigDocument(*file);
    CRefPointer<ObjectConfigurations> configurations(new ObjectConfigurations);
    configurations->load(*reader);
    configurations->deriveModifiedResources();
    configurations->resolveLocationResources();
    volatile uint32_t sink = visitRecords(*configurations);
    (void)sink;

    // The wish lists are reached through the names found in the document, each once.
    reader = readConfigDocument(*file);
    std::set<int32_t> visited;
    while (reader->readNext()) {
        if (reader->nodeKind() != CXmlTextReader::kElement)
            continue;
        const CNameId name(CString(reader->getAttribute(u"Name").c_str()));
        const GClientWishList* list = configurations->getWishList(name);
        if (list == nullptr || !visited.insert(name.getId()).second)
            continue;
        const std::vector<uint8_t> first = written(*list);
        const std::vector<uint8_t> second = written(*readList(first));
        if (first != second)
            __builtin_trap();
    }
    configurations->clear();
    return 0;
}
