#pragma once

// Shared by the property tests: a fake content source with fake atlas textures and content,
// and XML written to and read from memory.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/PropertyContent.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace property_steps {

inline std::u16string str(const CStringW& text) {
    return std::u16string(text.c_str(), text.length());
}

inline std::string str(const CString& text) {
    return std::string(text.c_str(), text.length());
}

inline std::u16string widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

class FakeContent : public IPropertyContent {
public:
    FakeContent(IPropertyContentSource* source, const std::u16string& name)
        : m_source(source), m_name(name.c_str()) {}

    IPropertyContentSource* getContentSource() const override { return m_source; }
    const CStringW& getContentName() const override { return m_name; }

private:
    IPropertyContentSource* m_source;
    CStringW m_name;
};

// Splits its name as atlas textures do: "walk0003.png" is "walk", 3 and ".png".
class FakeAtlasTexture : public IPropertyAtlasTexture {
public:
    FakeAtlasTexture(IPropertyContentSource* source, const std::u16string& name)
        : m_source(source), m_name(name.c_str()) {
        const size_t dot = name.rfind(u'.');
        if (dot == std::u16string::npos)
            return;
        size_t digits = dot;
        while (digits > 0 && name[digits - 1] >= u'0' && name[digits - 1] <= u'9')
            --digits;
        m_extension = name.substr(dot).c_str();
        m_baseName = name.substr(0, digits).c_str();
        if (digits < dot)
            m_frame = std::stoi(std::string(name.begin() + digits, name.begin() + dot));
    }

    IPropertyContentSource* getContentSource() const override { return m_source; }
    const CStringW& getContentName() const override { return m_name; }
    const CStringW& getBaseName() const override { return m_baseName; }
    int32_t getFrameNumber() const override { return m_frame; }
    const CStringW& getExtension() const override { return m_extension; }

private:
    IPropertyContentSource* m_source;
    CStringW m_name;
    CStringW m_baseName;
    CStringW m_extension;
    int32_t m_frame = -1;
};

// Loads any non-empty name that does not contain "missing", once per type and name, as a
// caching content manager does. Relative names are resolved against "data/".
class FakeContentSource : public IPropertyContentSource {
public:
    struct Load {
        uint32_t type;
        std::u16string name;
        bool relative;
        bool operator==(const Load&) const = default;
    };

    CRefPointer<IPropertyContent> loadContent(uint32_t type, const CStringW& name,
                                              bool relative) override {
        const std::u16string full = (relative ? u"data/" : u"") + str(name);
        loads.push_back({type, full, relative});
        if (name.isEmpty() || full.find(u"missing") != std::u16string::npos)
            return CRefPointer<IPropertyContent>();
        return content(type, full);
    }

    CStringW relativeContentPath(const CStringW& name) override {
        const std::u16string text = str(name);
        return CStringW(text.rfind(u"data/", 0) == 0 ? text.substr(5).c_str() : text.c_str());
    }

    // The object that loading the full name gives, made on first use.
    CRefPointer<IPropertyContent> content(uint32_t type, const std::u16string& full) {
        CRefPointer<IPropertyContent>& slot = m_cache[{type, full}];
        if (!slot) {
            if (type == kAtlasTextureType)
                slot = CRefPointer<IPropertyContent>(new FakeAtlasTexture(this, full));
            else
                slot = CRefPointer<IPropertyContent>(new FakeContent(this, full));
        }
        return slot;
    }

    CRefPointer<IPropertyAtlasTexture> atlas(const std::u16string& full) {
        CRefPointer<IPropertyContent> loaded = content(kAtlasTextureType, full);
        return CRefPointer<IPropertyAtlasTexture>::share(
            dynamic_cast<IPropertyAtlasTexture*>(loaded.get()));
    }

    std::vector<Load> loads;

private:
    std::map<std::pair<uint32_t, std::u16string>, CRefPointer<IPropertyContent>> m_cache;
};

// What the writer calls write, as 16-bit text (the byte-order mark of a header included).
inline std::u16string writtenXml(const std::function<void(CXmlTextWriter&)>& write) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.xml", 256));
    {
        CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        write(*writer);
    }
    const int32_t length = file->getLength();
    std::string bytes(size_t(length), '\0');
    file->seekTo(0, false);
    file->readBytes(bytes.data(), length);
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    return text;
}

// A reader over 16-bit text, with a byte-order mark put in front unless it has one.
inline CRefPointer<CXmlTextReader> xmlReader(const std::u16string& text) {
    const std::u16string marked = !text.empty() && text[0] == 0xFEFF ? text : u"\uFEFF" + text;
    uint8_t* bytes = new uint8_t[marked.size() * 2];
    for (size_t i = 0; i < marked.size(); ++i) {
        bytes[2 * i] = uint8_t(marked[i]);
        bytes[2 * i + 1] = uint8_t(marked[i] >> 8);
    }
    CRefPointer<CMemoryBlockFile> file(
        new CMemoryBlockFile(bytes, int32_t(marked.size() * 2), u"in.xml", true));
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file.get()));
}

// A reader standing on the first element of the text.
inline CRefPointer<CXmlTextReader> xmlReaderAtElement(const std::u16string& text) {
    CRefPointer<CXmlTextReader> reader = xmlReader(text);
    while (reader->readNext() && reader->nodeKind() != CXmlTextReader::kElement) {
    }
    return reader;
}

} // namespace property_steps
