#!/usr/bin/env bash
# Writes the seed documents of the XML reader's fuzz target: one per encoding and construct.
set -euo pipefail
cd "$(dirname "$0")/XmlReader"

scene='<?xml version="1.0"?>
<SceneNode Type="SpriteNode" Name="Logo">
	<Properties>
		<vector2d Name="Position" Value="10.000000;20.000000" />
		<stringw Name="Text" Value="&lt;Caf&#xA;&amp;&quot;&apos;&gt;" />
	</Properties>
	<!-- states follow -->
	<States><![CDATA[raw <text> & more]]></States>
</SceneNode>
'
printf '%s' "$scene" > plain.xml
{ printf '\xEF\xBB\xBF'; printf '%s' "$scene"; printf '<t>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\x80</t>'; } > utf8.xml
{ printf '\xFF\xFE'; printf '%s' "$scene" | iconv -f UTF-8 -t UTF-16LE; } > utf16le.xml
{ printf '\xFE\xFF'; printf '%s' "$scene" | iconv -f UTF-8 -t UTF-16BE; } > utf16be.xml
{ printf '\xFF\xFE\x00\x00'; printf '<a x="1"/>' | iconv -f UTF-8 -t UTF-32LE; } > utf32le.xml
{ printf '\x00\x00\xFE\xFF'; printf '<a x="1"/>' | iconv -f UTF-8 -t UTF-32BE; } > utf32be.xml
printf '<!DOCTYPE r [<!ENTITY e "x">]><r a=\x27single\x27 b = "c"/><!--><!><?p?>tail' > doctype.xml
printf '<r><a x="1" y=\x272\x27' > truncated.xml
printf '<a>\n</a>\n\t\t<b v="2.9" w="-1e40" n="16777217">&amp;lt;</b>\r\n' > blanks.xml
