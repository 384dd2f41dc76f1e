#!/usr/bin/env bash
# Sets up, builds and runs every test: the optimised build, then the AddressSanitizer +
# UndefinedBehaviorSanitizer build, then the fuzzing harnesses' check (scripts/fuzz.sh: their
# own clang build, their inputs replayed, a few seconds of fuzzing each).  Exits non-zero on the
# first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

for config in release asan; do
  echo "== $config: build"
  scripts/setup.sh "$config"
  echo "== $config: test"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  ctest --test-dir "build/$config" --output-on-failure -j "$jobs" --timeout 300
done
echo "== fuzz: build and check"
scripts/fuzz.sh check
echo "== all tests passed"
