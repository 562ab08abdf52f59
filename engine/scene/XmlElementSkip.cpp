#include "engine/scene/XmlElementSkip.h"

#include <cstdint>

#include "engine/io/XmlTextReader.h"

void skipElement(CXmlTextReader& reader) {
    if (reader.nodeKind() != CXmlTextReader::kElement || reader.isEmptyElement())
        return;
    uint32_t depth = 1;
    while (depth > 0 && reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kElement && !reader.isEmptyElement())
            ++depth;
        else if (reader.nodeKind() == CXmlTextReader::kEndElement)
            --depth;
    }
}
