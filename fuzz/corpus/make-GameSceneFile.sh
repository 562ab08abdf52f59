#!/usr/bin/env bash
# Writes the seed scene files of the game-scene fuzz target: every scene file of the game's
# content, whose screens name the game's classes.
set -euo pipefail
mkdir -p "$(dirname "$0")/GameSceneFile"
cd "$(dirname "$0")/GameSceneFile"
cp ../../../content/assets/scenes/*.qscn .
