#!/usr/bin/env bash
# Sets up, builds and runs every test: the optimised build (g++), then the sanitizer build (clang
# with AddressSanitizer and UndefinedBehaviorSanitizer, which also builds the fuzzing harnesses
# over the same compile of the libraries), then the harnesses' check (scripts/fuzz.sh: their
# inputs replayed, a few seconds of fuzzing each).  Exits non-zero on the first failure, naming
# the test cases that failed.  scripts/ci-time.sh times it as CI runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

for config in release asan; do
  echo "== $config: build"
  scripts/setup.sh "$config"
  echo "== $config: test"
  # Each test program runs whole: a failing case shows in its output, and its name is repeated
  # after the summary.
  if ! ctest --test-dir "build/$config" --output-on-failure -j "$jobs"; then
    echo "== $config: failed test cases"
    grep -h -E '^\[  FAILED  \] [A-Za-z0-9_/.]+(, |$)' "build/$config/Testing/Temporary/LastTest.log" | sort -u || true
    exit 1
  fi
done
echo "== fuzz: check"
scripts/fuzz.sh check
echo "== all tests passed"
