// Streams every node and attribute of a generated scene-like document of 10 MB, as UTF-8 with a
// byte-order mark and as UTF-16, through our reader, expat and pugixml on the same bytes.
// Allocations per node are counted in one untimed pass: ours through operator new, the peers
// through their memory hooks.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <expat.h>
#include <pugixml.hpp>

#include "bench/AllocationCounter.h"
#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"

namespace {

void* countedMalloc(size_t size) {
    noteAllocation();
    return std::malloc(size);
}

void* countedRealloc(void* block, size_t size) {
    noteAllocation();
    return std::realloc(block, size);
}

constexpr size_t kMegabyte = 1024 * 1024;

void tabs(std::string& xml, int depth) {
    xml.append(size_t(depth), '\t');
}

// A node as the editor writes it: its properties, then up to three children, four levels deep.
void appendNode(std::string& xml, int depth, std::mt19937& random, int& id) {
    const int n = id++;
    const std::string number = std::to_string(n);
    tabs(xml, depth);
    xml += "<SceneNode Type=\"" + std::string(n % 3 ? "SpriteNode" : "TextNode") +
           "\" Name=\"Node" + number + "\">\r\n";
    tabs(xml, depth + 1);
    xml += "<Properties>\r\n";
    tabs(xml, depth + 2);
    xml += "<vector2d Name=\"Position\" Value=\"" + std::to_string(random() % 1024) + ".000000;" +
           std::to_string(random() % 768) + ".500000\" />\r\n";
    tabs(xml, depth + 2);
    xml += "<float Name=\"Alpha\" Value=\"0.750000\" />\r\n";
    tabs(xml, depth + 2);
    xml += "<color Name=\"Color\" Value=\"ff80c0ff\" />\r\n";
    tabs(xml, depth + 2);
    xml += "<bool Name=\"Visible\" Value=\"true\" />\r\n";
    if (n % 3 == 0) {
        tabs(xml, depth + 2);
        xml += "<stringw Name=\"Text\" Value=\"%Caf\xC3\xA9"
               "Btn" +
               number + "% &amp; &quot;more&quot; \xE2\x82\xAC\" />\r\n";
    }
    tabs(xml, depth + 1);
    xml += "</Properties>\r\n";
    const int children = depth < 4 ? int(random() % 4) : 0;
    for (int i = 0; i < children; ++i)
        appendNode(xml, depth + 1, random, id);
    tabs(xml, depth);
    xml += "</SceneNode>\r\n";
}

std::string sceneDocument(size_t size) {
    std::string xml = "<?xml version=\"1.0\"?>\r\n<SceneNode Type=\"SceneNode\" Name=\"Root\">\r\n";
    std::mt19937 random(5);
    int id = 0;
    while (xml.size() < size)
        appendNode(xml, 1, random, id);
    xml += "</SceneNode>\r\n";
    return xml;
}

// The generator writes sequences of at most three bytes.
std::vector<uint8_t> utf16WithMark(const std::string& utf8) {
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    bytes.reserve(utf8.size() * 2 + 2);
    for (size_t i = 0; i < utf8.size();) {
        const uint8_t lead = uint8_t(utf8[i]);
        uint32_t ch = lead;
        if (lead >= 0xE0) {
            ch = (lead & 0x0F) << 12 | (uint8_t(utf8[i + 1]) & 0x3F) << 6 |
                 (uint8_t(utf8[i + 2]) & 0x3F);
            i += 3;
        } else if (lead >= 0xC0) {
            ch = (lead & 0x1F) << 6 | (uint8_t(utf8[i + 1]) & 0x3F);
            i += 2;
        } else {
            ++i;
        }
        bytes.push_back(uint8_t(ch & 0xFF));
        bytes.push_back(uint8_t(ch >> 8));
    }
    return bytes;
}

std::vector<uint8_t>& document(bool utf16) {
    static const std::string text = sceneDocument(10 * kMegabyte);
    static std::vector<uint8_t> utf8Bytes = [] {
        std::vector<uint8_t> bytes(text.size() + 3);
        std::memcpy(bytes.data(), "\xEF\xBB\xBF", 3);
        std::memcpy(bytes.data() + 3, text.data(), text.size());
        return bytes;
    }();
    static std::vector<uint8_t> utf16Bytes = utf16WithMark(text);
    return utf16 ? utf16Bytes : utf8Bytes;
}

struct Tally {
    uint64_t nodes = 0;
    uint64_t attributes = 0;
    uint64_t characters = 0;
};

Tally streamVantor(std::vector<uint8_t>& bytes) {
    CRefPointer<CMemoryBlockFile> file(
        new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"scene.qscn", false));
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    Tally tally;
    while (reader->readNext()) {
        ++tally.nodes;
        tally.characters += reader->nodeName().length();
        const int32_t count =
            reader->nodeKind() == CXmlTextReader::kElement ? reader->attributeCount() : 0;
        for (int32_t i = 0; i < count; ++i) {
            ++tally.attributes;
            tally.characters +=
                reader->attributeName(i).length() + reader->attributeValue(i).length();
        }
    }
    return tally;
}

void XMLCALL expatStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    Tally& tally = *static_cast<Tally*>(data);
    ++tally.nodes;
    tally.characters += std::strlen(name);
    for (; *attributes != nullptr; attributes += 2) {
        ++tally.attributes;
        tally.characters += std::strlen(attributes[0]) + std::strlen(attributes[1]);
    }
}

void XMLCALL expatEnd(void* data, const XML_Char* name) {
    Tally& tally = *static_cast<Tally*>(data);
    ++tally.nodes;
    tally.characters += std::strlen(name);
}

void XMLCALL expatText(void* data, const XML_Char*, int length) {
    Tally& tally = *static_cast<Tally*>(data);
    ++tally.nodes;
    tally.characters += uint64_t(length);
}

Tally streamExpat(std::vector<uint8_t>& bytes) {
    const XML_Memory_Handling_Suite memory = {countedMalloc, countedRealloc, std::free};
    XML_Parser parser = XML_ParserCreate_MM(nullptr, &memory, nullptr);
    Tally tally;
    XML_SetUserData(parser, &tally);
    XML_SetElementHandler(parser, expatStart, expatEnd);
    XML_SetCharacterDataHandler(parser, expatText);
    if (XML_Parse(parser, reinterpret_cast<const char*>(bytes.data()), int(bytes.size()),
                  XML_TRUE) != XML_STATUS_OK)
        tally = Tally();
    XML_ParserFree(parser);
    return tally;
}

void visitPugi(const pugi::xml_node& node, Tally& tally) {
    ++tally.nodes;
    tally.characters += std::strlen(node.name()) + std::strlen(node.value());
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        ++tally.attributes;
        tally.characters += std::strlen(attribute.name()) + std::strlen(attribute.value());
    }
}

Tally streamPugixml(std::vector<uint8_t>& bytes) {
    pugi::set_memory_management_functions(countedMalloc, std::free);
    pugi::xml_document document;
    Tally tally;
    if (!document.load_buffer(bytes.data(), bytes.size()))
        return tally;
    // Depth first without recursion: down to the first child, else on to the next sibling of
    // the nearest ancestor that has one.
    pugi::xml_node node = document.first_child();
    while (node) {
        visitPugi(node, tally);
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    return tally;
}

using Stream = Tally (*)(std::vector<uint8_t>&);

void runStream(benchmark::State& state, Stream stream, bool utf16) {
    std::vector<uint8_t>& bytes = document(utf16);
    startCountingAllocations();
    const Tally counted = stream(bytes);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state) {
        Tally tally = stream(bytes);
        benchmark::DoNotOptimize(tally);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["nodes"] = double(counted.nodes);
    state.counters["attributes"] = double(counted.attributes);
    state.counters["allocs/node"] = double(allocations) / double(counted.nodes);
}

const int registered = [] {
    struct Peer {
        const char* name;
        Stream stream;
    };
    const Peer peers[] = {{"expat", streamExpat}, {"pugixml", streamPugixml}};
    for (const bool utf16 : {false, true}) {
        for (const Peer& peer : peers) {
            const std::string base = std::string(utf16 ? "XmlUtf16Vs" : "XmlUtf8Vs") +
                                     (peer.stream == streamExpat ? "Expat" : "Pugixml");
            benchmark::RegisterBenchmark((base + "/vantor/10").c_str(), runStream, streamVantor,
                                         utf16);
            benchmark::RegisterBenchmark((base + "/" + peer.name + "/10").c_str(), runStream,
                                         peer.stream, utf16);
        }
    }
    return 0;
}();

} // namespace
