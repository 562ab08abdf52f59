#include "engine/io/Dictionary.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"

namespace {

std::string utf8(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

CStringW wide(const char* text) {
    return utf8ToUtf16(text);
}

// Reads an 8-bit XML document into the dictionary.
void readDocument(CDictionary& dictionary, std::string text) {
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(reinterpret_cast<uint8_t*>(text.data()),
                                                            int32_t(text.size()), u"d.xml", false));
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    ASSERT_TRUE(dictionary.readXml(reader.get()));
}

CRefPointer<CDictionary> makeDictionary() {
    CRefPointer<CDictionary> dictionary(new CDictionary);
    readDocument(*dictionary, "<texts>"
                              "<phrase tag=\"OkBtn\" text=\"OK\"/>"
                              "<phrase tag=\"a\" text=\"1\"/>"
                              "<phrase tag=\"b\" text=\"2\"/>"
                              "<phrase tag=\"Score\" text=\"#p of #P, #p/#p, #p\"/>"
                              "<phrase tag=\"Tail\" text=\"x#\"/>"
                              "</texts>");
    return dictionary;
}

TEST(DictionaryTest, ExpandsKeysAndSubstitutesParameters) {
    const CRefPointer<CDictionary> dictionary = makeDictionary();
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case expansions[] = {
        {"Press %OkBtn% now", "Press OK now"},
        {"Press %Missing% now", "Press %Missing% now"},
        {"100%% sure", "100% sure"},
        {"100% sure", "100% sure"},
        {"50%", "50%"},
        {"%", "%"},
        {"", ""},
        {"%a%%b%", "12"},
        {"%%%a%", "%1"},
    };
    for (const Case& c : expansions)
        EXPECT_EQ(utf8(dictionary->expandKeys(wide(c.text))), c.expanded) << c.text;

    struct Substitution {
        const char* key;
        const char* result;
    };
    const Substitution substitutions[] = {
        {"Score", "3 of 5, 7/9, #p"},
        {"Tail", "x#"},
        {"Nope", "%Nope%"},
    };
    for (const Substitution& c : substitutions)
        EXPECT_EQ(utf8(dictionary->substituteParams(c.key, u"3", u"5", u"7", u"9")), c.result)
            << c.key;
}

TEST(DictionaryTest, ReadsTheStringForm) {
    CRefPointer<CDictionary> dictionary(new CDictionary);
    const char* document = "<?xml version=\"1.0\"?>\r\n"
                           "<Dictionary>\r\n"
                           "\t<s n=\"Hello\">Hello &amp; welcome</s>\r\n"
                           "\t<s n=\"Empty\"></s>\r\n"
                           "\t<s n=\"Short\">  </s>\r\n"
                           "\t<s n=\"Blanks\">   </s>\r\n"
                           "\t<s n=\"Single\"/>\r\n"
                           "\t<s n=\"Data\"><![CDATA[raw]]></s>\r\n"
                           "\t<!-- a comment -->\r\n"
                           "</Dictionary>\r\n"
                           "<Other>stray text</Other>\r\n";
    readDocument(*dictionary, document);
    readDocument(*dictionary, document);
    struct Case {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"Hello", "Hello & welcome"},
        {"Empty", ""},
        {"Short", ""},
        {"Blanks", "   "},
        {"Single", ""},
        {"Data", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8(dictionary->lookup(c.key)), c.text) << c.key;
}

TEST(DictionaryTest, ReadsThePhraseFormAndLaterDocumentsReplaceTexts) {
    CRefPointer<CDictionary> dictionary(new CDictionary);
    readDocument(*dictionary, "<texts><phrase tag=\"A\" text=\"first\"/>"
                              "<phrase text=\"untagged\"/></texts>");
    readDocument(*dictionary, "<Dictionary><s n=\"A\">second</s></Dictionary>");
    EXPECT_EQ(utf8(dictionary->lookup("A")), "second");
    EXPECT_EQ(utf8(dictionary->lookup("")), "untagged");
    EXPECT_FALSE(dictionary->readXml(nullptr));
}

} // namespace
