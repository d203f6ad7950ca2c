#!/usr/bin/env bash
# Configures and builds into $1 (default build/) with warnings as errors; extra CMake
# arguments follow the directory.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
desktop=ON
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEX_WERROR=ON \
  -DTARVEX_BUILD_DESKTOP="$desktop" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
