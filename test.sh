#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer test build and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/check-format
scripts/check-layers
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=ON >/dev/null
cmake --build build/test
cd build/test
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
