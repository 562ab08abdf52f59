#!/usr/bin/env bash
# Writes the seed scene files of the scene-file fuzz target: the round-trip fixture of the
# tests, includes of the other names the target serves, states with every action type, and two
# of the game's screens full of controls.
set -euo pipefail
mkdir -p "$(dirname "$0")/SceneFile"
cd "$(dirname "$0")/SceneFile"
cp ../../../tests/scene/fixtures/RoundTrip.qscn round-trip.qscn
cp ../../../content/assets/scenes/OptionsScene.qscn options.qscn
cp ../../../content/assets/scenes/SelectPlayerInputNameScene.qscn new-player.qscn
printf '%s' '<SceneNode Type="SceneNode" ClassOverride="GameScene"><SceneNode File="a.qscn"/><SceneNode File="sub/b.qscn"/><SceneNode File="../main.qscn"/><SceneNode Type="Unknown"><Properties><string Name="Name" Value="x"/></Properties></SceneNode></SceneNode>' > includes.qscn
printf '%s' '<SceneNode Type="TemplateCollectionNode"><SceneNode Type="ControlNode"><Properties><string Name="Name" Value="Box"/><string Name="TemplateName" Value="Box"/><int Name="PressMode" Value="9"/></Properties><States><Properties><string Name="DefaultState" Value="Go"/></Properties><State Name="Go" NextState="Go"><Animator Type="KeyFrame" TimeShift="-5" Period="0"><KeyFrame t="-3"/><Properties><vector3d Name="Position" Value="1;2;3"/><atlasTexture Name="Image" Value="x0001.png"/></Properties><KeyFrame t="0" g="1" Value0="0;0;0"/><KeyFrame t="0" g="0" i="0" Value0="5;5;5"/><KeyFrame t="10" g="77"/></Animator><Animator Type="SetStates"><State Name="Go" Children=" a ;;b"/></Animator><EndAnimator Type="SetProps"><bool Name="Visible" Value="false"/></EndAnimator></State></States></SceneNode></SceneNode>' > states.qscn
printf '%s' '<SceneNode Type="BaseNode"><SceneNode Type="BaseNode"><SceneNode Type="BaseNode"><SceneNode Type="BaseNode"/>' > truncated.qscn
