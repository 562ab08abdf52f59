#!/usr/bin/env bash
# Installs what is missing, builds the Release build with its content and starts the game in the
# folder that holds the program and assets.qca (the game finds its content in the working folder).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_TESTS=OFF >/dev/null
cmake --build build/release --target velmora
cd build/release/game/app
exec ./velmora "$@"
