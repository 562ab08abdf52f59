#!/usr/bin/env bash
# Writes the seed documents of the sound pack fuzz target: every attribute, nesting, a cue
# written as one tag, duplicate names and a document cut inside a cue.
set -euo pipefail
cd "$(dirname "$0")/SoundPack"

printf '%s' '<?xml version="1.0"?>
<SoundPack>
	<SoundCue Name="Music" GroupID="1" Vol="0.8" Loop="true" StreamingType="1">
		<Sound Filename="music/Menu.ogg" />
		<Sound Filename="music/Map.ogg" />
	</SoundCue>
	<SoundCue Name="Click" GroupID="0" Vol="1.0" StreamingType="2"><Sound Filename="Click.wav"/></SoundCue>
	<Group><SoundCue Name="Nested" Loop="True"><Sound Filename="a.wav"/></SoundCue></Group>
	<SoundCue Name="Empty" />
	<SoundCue Name="Click"><Sound /></SoundCue>
</SoundPack>
' > pack.xml
printf '%s' '<SoundPack><SoundCue Name="Cut" StreamingType="1"><Sound Filename="x.wav"/>' > truncated.xml
