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

# The cases that failed, from CTest's log of every program's output: those gtest reports as
# failed, and the case a program was running when it crashed (a sanitizer report, a signal).
failed_cases() {
  awk '
    /^[0-9]+\/[0-9]+ Testing: / { running = "" }
    /^\[ RUN      \] / { running = $4 }
    /^\[       OK \] / { running = "" }
    /^\[  FAILED  \] [^ ]+ \(/ { if (!seen[$4]++) print "[  FAILED  ] " $4; running = "" }
    /^<end of output>$/ { if (running != "" && !seen[running]++) print "[  FAILED  ] " running " (the program ended inside it)"; running = "" }
  ' "$1"
}

for config in release asan; do
  echo "== $config: build"
  scripts/setup.sh "$config"
  echo "== $config: test"
  # Each test program runs whole: a failing case shows in its output, and its name is repeated
  # after the summary.
  if ! ctest --test-dir "build/$config" --output-on-failure -j "$jobs"; then
    echo "== $config: failed test cases"
    failed_cases "build/$config/Testing/Temporary/LastTest.log"
    exit 1
  fi
done
echo "== fuzz: check"
scripts/fuzz.sh check
echo "== all tests passed"
