#!/usr/bin/env bash
# Configures and builds both presets: the host core with its unit tests, and
# the Windows program with its Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
for preset in "$@"; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
done
