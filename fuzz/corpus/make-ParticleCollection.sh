#!/usr/bin/env bash
# Writes the seed documents of the particle collection fuzz target: both emitter classes with
# every setting, the forgiving cases (unknown and missing types, unnamed and duplicate
# emitters, self-closing elements, values of the wrong kind) and numbers no emitter should
# take as they are.
set -euo pipefail
cd "$(dirname "$0")/ParticleCollection"

cat > every.xml <<'XML'
<?xml version="1.0"?>
<ParticleCollection>
	<ParticleEmitter Type="PointEmitter">
		<Properties>
			<stringw Name="Name" Value="Sparks" />
			<vector2d Name="PPSRange" Value="20;40" />
			<vector2d Name="LifeTimeRange" Value="500;1500" />
			<vector2d Name="RadiusRange" Value="0;12" />
			<vector2d Name="VelocityXRange" Value="-30;30" />
			<vector2d Name="VelocityYRange" Value="-80;-40" />
			<vector2d Name="AccelerationXRange" Value="0;0" />
			<vector2d Name="AccelerationYRange" Value="60;90" />
			<vector2d Name="AngleRange" Value="0;360" />
			<vector2d Name="AngVelocityRange" Value="-180;180" />
			<color Name="ColorStart" Value="ffffcc00" />
			<color Name="ColorEnd" Value="00ff0000" />
			<float Name="ColorVariation" Value="0.1" />
			<vector2d Name="ScaleRange" Value="0.5;1.5" />
			<float Name="ScaleVariation" Value="0.2" />
		</Properties>
	</ParticleEmitter>
	<ParticleEmitter Type="RectangleEmitter">
		<Properties>
			<stringw Name="Name" Value="Confetti" />
			<vector2d Name="PPSRange" Value="100;100" />
			<vector2d Name="XRange" Value="10;200" />
			<vector2d Name="YRange" Value="5;20" />
			<vector2d Name="ScaleRange" Value="1;0" />
			<float Name="ScaleVariation" Value="0.5" />
		</Properties>
	</ParticleEmitter>
</ParticleCollection>
XML
printf '%s' '<ParticleCollection><ParticleEmitter Type="BaseEmitter"><Properties><string Name="Name" Value="a"/></Properties></ParticleEmitter><ParticleEmitter Type="pointemitter"/><ParticleEmitter><Properties/></ParticleEmitter><ParticleEmitter Type="PointEmitter"/><ParticleEmitter Type="PointEmitter"><Properties><int Name="Name" Value="7"/><float Name="PPSRange" Value="3"/></Properties><Properties><vector2d Name="PPSRange" Value="9"/></Properties></ParticleEmitter><ParticleEmitter Type="PointEmitter"><Properties><int Name="Name" Value="7"/></Properties></ParticleEmitter><Group><ParticleEmitter Type="RectangleEmitter"><Properties><string Name="Name" Value="deep"/></Properties></ParticleEmitter></Group></ParticleCollection><ParticleEmitter Type="PointEmitter"/>' > forgiving.xml
printf '%s' '<ParticleEmitter Type="PointEmitter"><Properties><stringw Name="Name" Value="x"/><vector2d Name="PPSRange" Value="1e38;1e38"/><vector2d Name="LifeTimeRange" Value="-1e30;1e38"/><vector2d Name="RadiusRange" Value="1e38;-1e38"/><vector2d Name="XRange" Value="-5;1e38"/><vector2d Name="YRange" Value="1e38;1e38"/><vector2d Name="ScaleRange" Value="0;1e38"/><float Name="ScaleVariation" Value="3e38"/></Properties></ParticleEmitter>' > extremes.xml
printf '%s' '<ParticleCollection><ParticleEmitter Type="RectangleEmitter"><Properties><vector2d Name="PPSRange" Value="-10;0"/><vector2d Name="LifeTimeRange" Value="0;0"/><color Name="ColorStart" Value="zz"/>' > truncated.xml
