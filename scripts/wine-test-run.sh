#!/usr/bin/env bash
# Runs a test program under Wine for ctest (scripts/wine-run.sh), with its
# output shown once it has ended. A console program that a test starts gets a
# console server from Wine (conhost.exe --headless), which inherits the
# test's output pipe and may outlive every process of the test; ctest, which
# waits for that pipe to close, would then wait until its time-out although
# the test had ended. A file has no such reader to wait for.
set -uo pipefail
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
"$(dirname "$0")/wine-run.sh" "$@" >"$output" 2>&1
status=$?
cat "$output"
exit $status
