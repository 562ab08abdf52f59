#!/usr/bin/env bash
# Writes the seed atlas files of the atlas fuzz target. The pages "p.png" (3 x 5) and
# "q.png" (16 x 16) exist beside them when the target runs.
set -euo pipefail
cd "$(dirname "$0")/Atlas"

cat > every.xml <<'XML'
<?xml version="1.0"?>
<AtlasTextureCollection>
  <a f="p.png"/>
  <a f="missing.png"/>
  <a f="q.png"/>
  <t n="Walk0001.png" i="0" r="0,0,2,3" b="1;2" a="0.5;-1"/>
  <t n="Walk0002.png" i="2" r="4 4 12 12"/>
  <t n="Reversed.png" i="2" r="10,10,5,20"/>
  <t n="Flat.png" i="0" r="1,1,1,4"/>
  <t n="" i="0" r="0,0,1,1"/>
  <t n="Negative.png" i="-1" r="0,0,1,1"/>
  <t n="Beyond.png" i="3" r="0,0,1,1"/>
  <t n="Missing.png" i="1" r="0,0,1,1"/>
  <t n="Huge.png" i="2" r="-2147483648,0,99999999999,1e30" b="1e30;-1e30"/>
  <t n="Esc&amp;&quot;&#xD;.png" i="0" r="0,0,1,1"/>
</AtlasTextureCollection>
<t n="AfterTheEnd.png" i="0" r="0,0,1,1"/>
XML

printf '<AtlasTextureCollection><a f="p.png"/><t n="x.png" r="0,0,' > truncated.xml
