// Reads an arbitrary document as a property set, clones and interpolates its values, and
// writes and reads it back and forth: once written and read, a set writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "fuzz/FuzzInputFile.h"

namespace {

CRefPointer<CProperties> readSet(const uint8_t* data, size_t size) {
    CRefPointer<CMemoryBlockFile> file = makeFuzzInputFile(data, size, u"fuzz");
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    while (reader->readNext() && reader->nodeKind() != CXmlTextReader::kElement) {
    }
    CRefPointer<CProperties> set(new CProperties());
    set->readXml(reader.get(), false, u"");
    return set;
}

std::vector<uint8_t> writeSet(const CProperties& set) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.xml", 4096));
    {
        CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        set.writeXml(writer.get(), true, u"", true);
    }
    std::vector<uint8_t> bytes(size_t(file->getLength()));
    file->seekTo(0, false);
    file->readBytes(bytes.data(), int32_t(bytes.size()));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    const CRefPointer<CProperties> set = readSet(data, size);
    const CRefPointer<CProperties> copy = set->clone();
    for (int32_t i = 0; i < set->getCount(); ++i) {
        const CRefPointer<CPropertyData> value = set->getValueAt(i);
        const CRefPointer<CPropertyData> cloned = copy->getValueAt(i);
        if (!value)
            continue;
        value->prepareInterpolation(cloned.get());
        value->interpolate(cloned.get(), cloned.get(), 0.5f);
    }
    // One writing and reading settles what text does not survive (numbers such as "inf", the
    // nesting cut); after that writing and reading again changes nothing.
    const std::vector<uint8_t> first = writeSet(*copy);
    const CRefPointer<CProperties> reread = readSet(first.data(), first.size());
    const std::vector<uint8_t> second = writeSet(*reread);
    const std::vector<uint8_t> third = writeSet(*readSet(second.data(), second.size()));
    if (second != third)
        __builtin_trap();
    return 0;
}
