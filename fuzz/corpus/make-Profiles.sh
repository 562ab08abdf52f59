#!/usr/bin/env bash
# Writes the seed files of the profiles fuzz target: a user file as the game saves it (UTF-16
# with its byte-order mark), a common file with the global set, and damaged ones: a name taken
# twice, nested sets, a file cut short.
set -euo pipefail
mkdir -p "$(dirname "$0")/Profiles"
cd "$(dirname "$0")/Profiles"
python3 - <<'PY'
user = ('<?xml version="1.0"?>\r\n<Profiles>\r\n\t<CommonProfile>\r\n\t\t<Parameters>\r\n'
        '\t\t\t<int Name="VideoDriver" Value="3" />\r\n\t\t</Parameters>\r\n\t</CommonProfile>\r\n'
        '\t<Profile Name="Anna">\r\n\t\t<Parameters>\r\n'
        '\t\t\t<int Name="LevelIndex" Value="7" />\r\n'
        '\t\t\t<float Name="SoundVolume" Value="12.500000" />\r\n'
        '\t\t\t<bool Name="FullScreen" Value="false" />\r\n'
        '\t\t</Parameters>\r\n\t</Profile>\r\n'
        '\t<Profile Name="Bj\u00f6rn &amp; &quot;Co&quot;" Active="true">\r\n\t\t<Parameters>\r\n'
        '\t\t\t<string Name="Level3Locations" Value="Floor1;DanceFloor2" />\r\n'
        '\t\t</Parameters>\r\n\t</Profile>\r\n</Profiles>\r\n')
open('user-utf16.dat', 'wb').write(b'\xff\xfe' + user.encode('utf-16-le'))
open('common.dat', 'wb').write(
    b'<?xml version="1.0"?>\n<Profiles><GlobalProfile><Parameters>'
    b'<int Name="VideoDriver" Value="1"/><bool Name="VSync" Value="false"/>'
    b'</Parameters></GlobalProfile></Profiles>\n')
open('damaged.dat', 'wb').write(
    b'<Profiles><Profile Name="Twin" Active="true"><Parameters><int Name="A" Value="1"/>'
    b'</Parameters></Profile><Profile Name="Twin"><Parameters><int Name="A" Value="2"/>'
    b'</Parameters></Profile><Profile Name=""><Parameters></Parameters></Profile>'
    b'<Profile Name="Nest"><Parameters><Properties Name="Inner"><int Name="B" Value="3"/>'
    b'</Properties></Parameters></Profile><Profile Name="Cut"><Parameters><int Name="C" Val')
PY
