// Reads an arbitrary document into a dictionary, then expands the document's own text and
// substitutes parameters into it, so that both scans meet every shape of '%' and '#'.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/Dictionary.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != 0)
            text += char(data[i]);
    }
    CRefPointer<CMemoryBlockFile> file = makeFuzzInputFile(data, size, u"fuzz");
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    CRefPointer<CDictionary> dictionary(new CDictionary);
    dictionary->readXml(reader.get());
    const CString key(text.c_str());
    const CStringW expanded = dictionary->expandKeys(CStringW(key.c_str()));
    const CStringW substituted = dictionary->substituteParams(key, u"1", u"#p", u"%", u"");
    volatile uint32_t sink = expanded.length() + substituted.length();
    (void)sink;
    return 0;
}
