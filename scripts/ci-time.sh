#!/usr/bin/env bash
# Times the README's test command as CI meets it: a fresh clone, the compiler cache off, the
# whole run pinned to two cores.  Prints the wall time of each phase and the total.
#
#   scripts/ci-time.sh [commit] (default HEAD)
#
# CI_TIME_CPUS picks the cores (default 0,1: taskset's list form); CI_TIME_KEEP=1 keeps the
# clone and its log (otherwise removed when the run passes).  Exits with the test command's
# status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rev="${1:-HEAD}"
cpus="${CI_TIME_CPUS:-0,1}"
work="$(mktemp -d "${TMPDIR:-/tmp}/ci-time-XXXXXX")"
git clone -q --no-local "$root" "$work/src"
git -C "$work/src" checkout -q --detach "$rev"
echo "ci-time: $(git -C "$work/src" log -1 --format='%h %s') on cores $cpus, in $work"

log="$work/test.log"
# Each output line gets its arrival time; a phase runs from its marker to the next one.  Markers
# are the test command's "== <phase>: <step>" lines (a fuzz harness's own lines read
# "== fuzz <harness>: ...", with no colon straight after the first word, and are not markers).
stamp() {
  local line
  while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done
}
start="$EPOCHREALTIME"
set +e
CCACHE_DISABLE=1 taskset -c "$cpus" "$work/src/scripts/test.sh" 2>&1 | stamp >"$log"
rc="${PIPESTATUS[0]}"
set -e
end="$EPOCHREALTIME"

awk -v start="$start" -v end="$end" -v rc="$rc" '
  function show(name, from, to) { printf "  %-32s %7.1f s  (%5.1f min)\n", name, to - from, (to - from) / 60 }
  {
    t = $1; line = substr($0, length($1) + 2)
    if (line ~ /^== [a-z]+: /) {
      if (name != "") show(name, from, t)
      name = substr(line, 4); from = t
    }
  }
  END {
    if (name != "") show(name, from, end)
    printf "  %-32s %7.1f s  (%5.1f min)%s\n", "total", end - start, (end - start) / 60, rc == 0 ? "" : "  FAILED (status " rc ")"
  }' "$log"

if ((rc != 0)); then
  echo "ci-time: the test command failed; its output is in $log" >&2
  tail -40 "$log" | cut -d' ' -f2- >&2
elif [ -z "${CI_TIME_KEEP:-}" ]; then
  rm -rf "$work"
fi
exit "$rc"
