#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest
# on the offscreen platform. Ends with ctest's summary.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}

"$here/scripts/deps.sh"
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=$werror >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
