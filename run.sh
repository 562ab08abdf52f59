#!/usr/bin/env bash
# Installs what is missing, builds the Release build and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_TESTS=OFF >/dev/null
cmake --build build/release --target velmora
exec build/release/game/app/velmora "$@"
