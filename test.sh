#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer test build and runs every test, then builds
# the threaded code's tests with ThreadSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/check-format
scripts/check-layers
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=ON >/dev/null
cmake --build build/test
(cd build/test && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_TSAN=ON >/dev/null
cmake --build build/tsan --target thread_sanitizer_tests audio_thread_sanitizer_tests
(cd build/tsan && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
