// Reads every node of an arbitrary document and asks for everything the reader answers.
#include <cstddef>
#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    // Nearly every fuzzed document is damaged: the warning is built (its line counted) but not
    // written.
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    CRefPointer<CMemoryBlockFile> file = makeFuzzInputFile(data, size, u"fuzz");
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    uint32_t checksum = 0;
    while (reader->readNext()) {
        checksum += uint32_t(reader->nodeKind()) + reader->nodeName().length();
        checksum += reader->isEmptyElement() ? 1 : 0;
        const int32_t count = reader->attributeCount();
        for (int32_t i = -1; i <= count; ++i) {
            const CStringW& name = reader->attributeName(i);
            checksum += name.length() + reader->attributeValue(i).length();
            checksum += uint32_t(reader->getAttributeInt(i, 1));
            checksum += uint32_t(reader->getAttributeInt(name.c_str(), 2));
            checksum += reader->getAttribute(name.c_str()).length();
            if (reader->getAttributeFloat(i, 0.f) != reader->getAttributeFloat(name.c_str(), 0.f))
                ++checksum;
        }
    }
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
