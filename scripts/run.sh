#!/usr/bin/env bash
# Sets up, builds and starts the program against the instrument simulator on a pseudo-terminal
# (COM1 points at it); closing the program stops the simulator.  Without a screen, run it as
#   xvfb-run -a scripts/run.sh
# PL_SCREENSHOT=shot.png writes the main window to shot.png a few seconds after start.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh release
build=build/release

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display; run the program under a virtual screen: xvfb-run -a scripts/run.sh" >&2
  exit 2
fi

sim="$build/tools/instrument-sim"
map_dir="$(mktemp -d)"
trap 'kill ${sim_pid:-} 2>/dev/null || true; wait ${sim_pid:-} 2>/dev/null || true; rm -rf "$map_dir"' EXIT
"$sim" --model-table "$build/app/PowerType.dat" --link-file "$map_dir/device" </dev/null >/dev/null &
sim_pid=$!
for _ in $(seq 50); do [ -s "$map_dir/device" ] && break; sleep 0.1; done
if [ ! -s "$map_dir/device" ]; then
  echo "run: the instrument simulator did not start" >&2
  exit 1
fi
export PL_PORT_MAP="COM1=$(cat "$map_dir/device")"
export PL_DISPLAY=desktop
"$build/app/powersupply" "$@"
