#!/usr/bin/env bash
# Sets up, builds and starts the program against the instrument simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh release
build=build/release

if [ ! -x "$build/app/powersupply" ]; then
  echo "run: the control program is not built yet (there is no program in this revision);"
  echo "run: the libraries and tests built successfully."
  exit 0
fi

sim="$build/tools/instrument-sim"
map_dir="$(mktemp -d)"
trap 'kill ${sim_pid:-} 2>/dev/null || true; rm -rf "$map_dir"' EXIT
"$sim" --link-file "$map_dir/device" &
sim_pid=$!
for _ in $(seq 50); do [ -s "$map_dir/device" ] && break; sleep 0.1; done
export PL_PORT_MAP="COM1=$(cat "$map_dir/device")"
"$build/app/powersupply" "$@"
