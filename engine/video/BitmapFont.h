#pragma once

#include "engine/core/ContentKey.h"
#include "engine/io/XmlTextReader.h"
#include "engine/video/FontBase.h"

// A font described by a qfnt file, read after its root element <Font Type="Bitmap">:
//
//   <Properties><vector2d Name="GlobalKerning" Value="1;0"/></Properties>
//   <Texture Filename="Sans_0.png"/>                    a page: an atlas texture name
//   <c c="A" i="0" r="2,2,12,16" b="0;3" a="1;4"/>     a glyph
//   <k c="AV" k="-1"/>                                   a kerning pair
//
// Page names resolve against the font file's folder. "c" is the character, "i" the page, "r"
// the rectangle x1, y1, x2, y2 in texture pixels, "b" and "a" the space before and after.
class CBitmapFont : public CFontBase {
public:
    explicit CBitmapFont(const CContentKey& key) : CFontBase(key) {}

    // Reads every element up to the end of the reader; pages load through the key's content
    // manager. A page that does not load stays as a none entry.
    void readXml(CXmlTextReader& reader) override;

protected:
    ~CBitmapFont() override = default;

private:
    void readProperties(CXmlTextReader& reader);
    void readTexture(const CXmlTextReader& reader);
    void readGlyph(const CXmlTextReader& reader);
    void readKerning(const CXmlTextReader& reader);
};
