#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "engine/io/Dictionary.h"
#include "engine/io/DiskInputFile.h"
#include "engine/io/IInputFile.h"
#include "engine/io/Path.h"
#include "engine/io/VirtualFilesReaderQca.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ContentArchivePassword.h"

// The game's content as the build ships it: the archive "assets.qca", mounted with the game's
// password, and the folder it was packed from. The build passes both paths in.
namespace content_files {

inline const char* stagedFolder() {
    return VELMORA_CONTENT_FOLDER;
}

inline std::string narrow(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

inline CStringW wide(const std::string& text) {
    return utf8ToUtf16(text.c_str());
}

inline std::string readAll(IInputFile& file) {
    std::string bytes(size_t(file.getLength()), '\0');
    const int32_t read = file.readBytes(bytes.data(), int32_t(bytes.size()));
    bytes.resize(size_t(read > 0 ? read : 0));
    return bytes;
}

// The name of path (relative to the file named base) as the content manager resolves it.
inline std::string resolve(const std::string& base, const std::string& path) {
    return narrow(resolveRelativePath(wide(base), wide(path)));
}

inline bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// One element of a document read with the engine's XML reader.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<XmlElement> children;
    std::string text;

    // The attribute's value; empty when the element has none.
    std::string attribute(const std::string& key) const {
        auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    bool has(const std::string& key) const { return attributes.count(key) != 0; }
};

// Calls visit with the element and every element below it, depth first.
template <typename Visit>
void forEachElement(const XmlElement& element, const Visit& visit) {
    visit(element);
    for (const XmlElement& child : element.children) {
        forEachElement(child, visit);
    }
}

struct XmlDocument {
    XmlElement root;
    // The first fault found: an end tag that closes another element, an element left open,
    // no root or a second one. Empty for a well-formed document.
    std::string fault;
};

// Reads every node of the file. The engine's reader forgives broken markup, so the nesting is
// checked here: a typo in a tag would otherwise change the tree without any message.
inline XmlDocument parseXml(IInputFile* file) {
    XmlDocument document;
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file));
    std::vector<XmlElement*> open;
    int roots = 0;
    while (reader->readNext() && document.fault.empty()) {
        switch (reader->nodeKind()) {
        case CXmlTextReader::kElement: {
            XmlElement element;
            element.name = narrow(reader->nodeName());
            for (int32_t i = 0; i < reader->attributeCount(); ++i) {
                element.attributes[narrow(reader->attributeName(i))] =
                    narrow(reader->attributeValue(i));
            }
            XmlElement* placed;
            if (open.empty()) {
                if (++roots > 1) {
                    document.fault = "a second root element <" + element.name + ">";
                }
                document.root = std::move(element);
                placed = &document.root;
            } else {
                open.back()->children.push_back(std::move(element));
                placed = &open.back()->children.back();
            }
            if (!reader->isEmptyElement()) {
                open.push_back(placed);
            }
            break;
        }
        case CXmlTextReader::kEndElement: {
            const std::string name = narrow(reader->nodeName());
            if (open.empty() || open.back()->name != name) {
                document.fault = "</" + name + "> closes " +
                                 (open.empty() ? "nothing" : "<" + open.back()->name + ">");
            } else {
                open.pop_back();
            }
            break;
        }
        case CXmlTextReader::kText:
            if (!open.empty()) {
                open.back()->text += narrow(reader->nodeText());
            }
            break;
        default:
            break;
        }
    }
    if (document.fault.empty() && !open.empty()) {
        document.fault = "<" + open.back()->name + "> is never closed";
    }
    if (document.fault.empty() && roots == 0) {
        document.fault = "no root element";
    }
    return document;
}

// The packed archive as the game mounts it.
class ContentArchive {
public:
    ContentArchive()
        : m_reader(new CVirtualFilesReaderQca(
              createDiskInputFile(wide(VELMORA_CONTENT_ARCHIVE)).get(), kContentArchivePassword)) {}

    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (uint32_t i = 0; i < m_reader->entryCount(); ++i) {
            all.push_back(narrow(m_reader->entryAt(i)->name));
        }
        return all;
    }
    bool exists(const std::string& name) const { return m_reader->indexOfName(wide(name)) >= 0; }
    CRefPointer<IInputFile> open(const std::string& name) const {
        return m_reader->openEntry(wide(name));
    }
    std::string bytes(const std::string& name) const {
        CRefPointer<IInputFile> file = open(name);
        return file ? readAll(*file) : std::string();
    }
    XmlDocument xml(const std::string& name) const {
        CRefPointer<IInputFile> file = open(name);
        if (!file) {
            return {{}, name + " is missing"};
        }
        return parseXml(file.get());
    }

private:
    CRefPointer<IVirtualFilesReader> m_reader;
};

// The keys written between percent signs in a text, as a text node expands them.
inline std::vector<std::string> dictionaryKeysIn(const std::string& text) {
    std::vector<std::string> keys;
    for (size_t open = text.find('%'); open != std::string::npos;) {
        const size_t close = text.find('%', open + 1);
        if (close == std::string::npos) {
            break;
        }
        if (close > open + 1) {
            keys.push_back(text.substr(open + 1, close - open - 1));
        }
        open = text.find('%', close + 1);
    }
    return keys;
}

// The dictionary as the game reads it from "strings/Dictionary.xml".
inline CRefPointer<CDictionary> loadDictionary(const ContentArchive& archive) {
    CRefPointer<CDictionary> dictionary(new CDictionary);
    CRefPointer<IInputFile> file = archive.open("strings/Dictionary.xml");
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    dictionary->readXml(reader.get());
    return dictionary;
}

} // namespace content_files
