#!/usr/bin/env bash
# Writes the seed descriptions of the font fuzz target. The pages "p.png" (3 x 5) and "q.png"
# (16 x 16) exist beside them when the target runs. The seeds end in text to measure.
set -euo pipefail
cd "$(dirname "$0")/Font"

cat > every.qfnt <<'XML'
<?xml version="1.0"?>
<Font Type="Bitmap">
  <Properties><vector2d Name="GlobalKerning" Value="1;2"/></Properties>
  <Texture Filename="p.png"/>
  <Texture Filename="missing.png"/>
  <Texture Filename="q.png"/>
  <c c="A" i="0" r="0,0,2,3" b="1;2" a="0.5;-1"/>
  <c c="A" i="2" r="0,0,16,16"/>
  <c c=" " i="7" r="0,0,0,0" a="4;0"/>
  <c c="" i="-1" r="1e30,0,-1e30"/>
  <k c="AA" k="-2"/>
  <k c="A " k="2147483647"/>
  <k c="ABC" k="1"/>
</Font>
A A&#xD;&#xA;AA
XML

cat > other-type.qfnt <<'XML'
<Font Type="Outline"><c c="A" r="0,0,1,1"/></Font>
<Font Type="Bitmap"><Properties><int Name="GlobalKerning" Value="3"/></Properties></Font>
XML
