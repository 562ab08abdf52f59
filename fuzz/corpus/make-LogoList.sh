#!/usr/bin/env bash
# Writes the seed documents of the logo list fuzz target beside the game's own list: menu
# logos with positions and addresses, nesting and other elements among the logos, an element
# cut short.
set -euo pipefail
mkdir -p "$(dirname "$0")/LogoList"
cd "$(dirname "$0")/LogoList"
cp ../../../content/assets/logos/Logos.xml Logos.xml
printf '%s' '<?xml version="1.0"?><Logos><Logo Image="a.png" Time="-5" Skippable="TRUE"/><MMLogo Image="m.png" Pos="10;20" URL="http://example.org/?a=1&amp;b=2"/><Other><Logo Image="nested.png" Time="1e9"/></Other><MMLogo Pos=";;"/></Logos><Logo Image="after.png"/>' > menu-and-nesting.xml
printf '%s' '<Logos><Logo Image="cut.png" Time="25' > cut.xml
