#!/usr/bin/env bash
# Installs the Debian packages the project needs (when missing), then configures and builds one
# build tree.  Usage: scripts/setup.sh [release|asan] [target...] (default release, everything).
#   release  g++, optimised: the program, the tests and the benchmarks
#   asan     clang with AddressSanitizer and UndefinedBehaviorSanitizer: the tests and the fuzzing
#            harnesses over one compile of the libraries (scripts/fuzz.sh builds its "fuzzers")
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  g++ cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  libpixman-1-dev libpng-dev libjpeg-dev zlib1g-dev libsqlite3-dev libcups2-dev libcairo2-dev poppler-utils cups
  gettext xvfb xauth x11-utils xdotool
  clang libclang-rt-14-dev lld
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

config="${1:-release}"
shift || true
case "$config" in
  release) flags=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan) flags=(-DCMAKE_BUILD_TYPE=Debug -DPL_SANITIZE=ON -DPL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "setup: unknown configuration '$config' (release or asan)" >&2; exit 2 ;;
esac

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B "build/$config" -G Ninja "${flags[@]}" "${launcher[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "build/$config" -j "$(nproc)" "${targets[@]}"
