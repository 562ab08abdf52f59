#!/usr/bin/env bash
# Writes the seed documents of the property set fuzz target: every value type, nesting,
# the forgiving cases and a set nested past the depth that is read.
set -euo pipefail
cd "$(dirname "$0")/PropertiesXml"

every='<?xml version="1.0"?>
<Properties>
	<int Name="Level" Value="-12" />
	<bool Name="SoundOn" Value="true" />
	<float Name="Volume" Value="0.500000" />
	<color Name="Tint" Value="80ff00aa" />
	<colorf Name="Fog" Value="1.000000;0.500000;0.000000;1.000000" />
	<vector2d Name="Position" Value="10.000000;20.000000" />
	<vector3d Name="Scale" Value="1;2;3" />
	<rect Name="Frame" Value="0;0;640;480" />
	<string Name="State" Value="Idle &amp; &quot;ready&quot;" />
	<stringw Name="Title" Value="Caf&#xA;" />
	<stringwArray Name="Items">
		<stringw Value="One" />
		<stringw Value="Two" />
	</stringwArray>
	<properties Name="Nested">
		<int Name="Inner" Value="1" />
		<properties Name="Deeper" />
	</properties>
	<atlasTexture Name="Icon" Value="walk0001.png" />
	<font Name="Font" Value="fonts/Big.qfnt" />
	<sound Name="Click" Value="sounds/Click.ogg" />
</Properties>
'
printf '%s' "$every" > every.xml
{ printf '\xFF\xFE'; printf '%s' "$every" | iconv -f UTF-8 -t UTF-16LE; } > every-utf16.xml
printf '<Properties><foo Name="x"><int Name="y" Value="4"/></foo><Int Name="q"/><int Value="1"/>text<!-- c --></other><float Name="f" Value="1e40"/></Properties>' > forgiving.xml
printf '<Properties><int Name="a" Value="1"/><int Name="a" Value="2"/><stringwArray Name="s"><stringw Other="b"/><stringw/>' > truncated.xml
{
    printf '<Properties>'
    for _ in $(seq 70); do printf '<properties Name="n">'; done
    printf '<int Name="leaf" Value="1"/>'
    for _ in $(seq 70); do printf '</properties>'; done
    printf '<int Name="after" Value="2"/></Properties>'
} > deep.xml
