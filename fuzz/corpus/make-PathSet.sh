#!/usr/bin/env bash
# Writes the seed documents of the paths files' fuzz target: a file as the map reads it, every
# attribute in odd forms, paths without points and a text that ends early.
set -euo pipefail
cd "$(dirname "$0")/PathSet"

cat > Map.xml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<Paths>
	<Path ID="Street1" Time="1000;5000" Objects="Human1;Human2" Bi="1">
		<p p="10;400" d1="4" d2="4" s="0.8" />
		<p p="200;420" d1="6" d2="2" s="0.9" />
		<p p="420;380" d1="4" d2="4" s="1" />
		<p p="420;380" />
		<p p="600;200" s="1.2" />
	</Path>
	<Path ID="Sea">
		<p p="900;100" />
		<p p="20;120" />
	</Path>
</Paths>
XML
printf '<Paths><Path Time="12.7;x-3" Objects=" a ;;b;" Bi="2"><p p="x1y2z3" d1="-5" d2="1e40" s="-1"/><q/><p/></Path><Path/><Path><p p="5;5"/><p p="5;5"/><p p="5;5"/></Path><Other/></Paths>' > Attributes.xml
printf '<Paths><Path ID="A"><p p="1;1"/><p p="9;9"/></Path><Path ID="B"><p p="2;2"/>' > Truncated.xml
