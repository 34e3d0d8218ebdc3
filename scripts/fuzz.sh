#!/usr/bin/env bash
# Fuzzes every target in tests/fuzz with clang's libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer, for the given seconds each (default 60),
# starting from the committed seeds (tests/fuzz/corpus/<target>/). What it
# learns stays in build/fuzz/corpus/; an input that breaks a target is kept in
# tests/fuzz/regressions/<target>/, which the host tests replay from then on.
# Usage: scripts/fuzz.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
scripts/install-deps.sh
build=build/fuzz
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $flags" >/dev/null
cmake --build "$build" --target cc_core
targets=("$@")
[ ${#targets[@]} -gt 0 ] || for source in tests/fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
status=0
for target in "${targets[@]}"; do
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer $flags -I. "tests/fuzz/$target.cpp" "$build/libcc_core.a" -o "$build/$target"
  mkdir -p "$build/corpus/$target" "tests/fuzz/regressions/$target"
  echo "== $target, $seconds s"
  "$build/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="tests/fuzz/regressions/$target/" \
    "$build/corpus/$target" "tests/fuzz/corpus/$target" || status=1
done
exit $status
