#!/usr/bin/env bash
# Builds and runs the fuzzing harnesses of fuzz/ (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/asan, the sanitizer tree they share with the tests
# (scripts/setup.sh asan).
#
#   scripts/fuzz.sh check
#       builds, replays every harness over fuzz/corpus/<harness> and fuzz/regressions/<harness>,
#       then fuzzes each for a few seconds (FUZZ_CHECK_SECONDS, default 5) with a fixed seed.
#       New inputs go to a scratch folder, never into the committed corpus.
#   scripts/fuzz.sh run [harness[,harness...]|all] [seconds] [--merge]
#       a longer run (default: every harness side by side, 600 s each), its inputs kept in
#       build/asan/runs/<harness>; --merge then adds those that reach new code to fuzz/corpus.
#       FUZZ_ARGS passes more libFuzzer options (FUZZ_ARGS="-fork=2 -ignore_crashes=1" goes on
#       past crashes, keeping each).
#   scripts/fuzz.sh seeds
#       rewrites the seed corpora with the project's own writers (fuzz/make_seeds.cpp).
#
# Crashing inputs land in build/asan/artifacts/<harness>/.  fuzz/README.md says what to do then.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
tree="$root/build/asan"
jobs="$(nproc)"

export PL_DISPLAY=headless
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"

build() {
  scripts/setup.sh asan fuzzers
}

harnesses() {
  for f in fuzz/*.cpp; do
    local name
    name="$(basename "$f" .cpp)"
    [ "$name" = make_seeds ] || echo "$name"
  done
}

# A scratch folder for a harness's files: in memory where possible, since the readers under test
# sync what they write.
scratch() {
  local base=/dev/shm
  [ -d "$base" ] && [ -w "$base" ] || base="${TMPDIR:-/tmp}"
  mktemp -d "$base/pl-fuzz-$1-XXXXXX"
}

# Runs one harness over its committed inputs, then fuzzes it for $2 seconds from them.
check_one() {
  local h="$1" seconds="$2"
  local bin="$tree/fuzzers/fuzz_$h" work="$tree/check/$h" art="$tree/artifacts/$h" tmp rc=0
  rm -rf "$work"
  mkdir -p "$work/new" "$art"
  local inputs=()
  while IFS= read -r -d '' f; do inputs+=("$f"); done < <(find "$root/fuzz/corpus/$h" "$root/fuzz/regressions/$h" -type f ! -name '.*' -print0 2>/dev/null | sort -z)
  if ((${#inputs[@]} == 0)); then
    echo "== fuzz $h: no corpus"
    return 1
  fi
  tmp="$(scratch "$h")"
  if ! (cd "$tmp" && TMPDIR="$tmp" "$bin" -rss_limit_mb=2048 "${inputs[@]}") >"$work/replay.log" 2>&1; then
    echo "== fuzz $h: replay FAILED"; tail -40 "$work/replay.log"; rm -rf "$tmp"; return 1
  fi
  (cd "$tmp" && TMPDIR="$tmp" "$bin" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$art/" -print_final_stats=1 \
    "$work/new" "$root/fuzz/corpus/$h" "$root/fuzz/regressions/$h") >"$work/fuzz.log" 2>&1 || rc=$?
  rm -rf "$tmp"
  local last
  last="$(grep -E '^#[0-9]+' "$work/fuzz.log" | tail -1 | sed -E 's/ +/ /g')"
  if ((rc != 0)); then
    echo "== fuzz $h: FAILED (input kept in $art)"; tail -60 "$work/fuzz.log"; return 1
  fi
  echo "== fuzz $h: ${#inputs[@]} inputs replayed; $last"
}

case "${1:-check}" in
  check)
    build
    export -f check_one scratch
    export tree root
    # Each harness stands alone: run them side by side, report every failure, then fail.
    mkdir -p "$tree/check"
    harnesses | xargs -P "$jobs" -I{} bash -c 'check_one {} "$0"' "${FUZZ_CHECK_SECONDS:-5}" | tee "$tree/check/summary.log" || true
    total="$(harnesses | wc -l)"
    passed="$(grep -c -E '^== fuzz [a-z_0-9]+: [0-9]+ inputs replayed;' "$tree/check/summary.log" || true)"
    failed=$((total - passed))
    echo "fuzz: $passed passed, $failed failed"
    ((failed == 0))
    ;;
  run)
    which="${2:-all}" seconds="${3:-600}" merge="${4:-}"
    build
    if [ "$which" = all ]; then mapfile -t list < <(harnesses); else IFS=, read -r -a list <<<"$which"; fi
    for h in "${list[@]}"; do
      [ -x "$tree/fuzzers/fuzz_$h" ] || { echo "fuzz: no harness $h" >&2; exit 2; }
      mkdir -p "$tree/runs/$h" "$tree/artifacts/$h"
    done
    run_one() {
      local h="$1" tmp
      tmp="$(scratch "$h")"
      (cd "$tmp" && TMPDIR="$tmp" "$tree/fuzzers/fuzz_$h" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$tree/artifacts/$h/" -print_final_stats=1 ${FUZZ_ARGS:-} \
        "$tree/runs/$h" "$root/fuzz/corpus/$h" "$root/fuzz/regressions/$h") >"$tree/runs/$h.log" 2>&1 || true
      rm -rf "$tmp"
      echo "== fuzz $h: $(grep -E '^#[0-9]+' "$tree/runs/$h.log" | tail -1 | sed -E 's/ +/ /g')"
      grep -E '^(SUMMARY|fuzz:)' "$tree/runs/$h.log" | sort | uniq -c | head -5 | sed 's/^/  /' || true
      ls "$tree/artifacts/$h" 2>/dev/null | sed "s|^|   crash: $tree/artifacts/$h/|"
    }
    export -f run_one scratch
    export tree seconds root
    printf '%s\n' "${list[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'
    if [ "$merge" = --merge ]; then
      for h in "${list[@]}"; do
        "$tree/fuzzers/fuzz_$h" -merge=1 "fuzz/corpus/$h" "$tree/runs/$h" >"$tree/runs/$h.merge.log" 2>&1
        echo "== fuzz $h: $(grep -E 'MERGE-OUTER: [0-9]+ new files' "$tree/runs/$h.merge.log" || echo 'merge failed')"
      done
    fi
    ;;
  seeds)
    build
    rm -rf "$tree/seeds.tmp" && mkdir -p "$tree/seeds.tmp"
    (cd "$tree/seeds.tmp" && TMPDIR="$tree/seeds.tmp" ASAN_OPTIONS=detect_leaks=0 "$tree/fuzzers/fuzz_make_seeds" "$root/fuzz/corpus")
    ;;
  *)
    echo "usage: scripts/fuzz.sh check | run [harness[,harness...]|all] [seconds] [--merge] | seeds" >&2
    exit 2
    ;;
esac
