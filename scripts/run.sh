#!/usr/bin/env bash
# Installs what is missing, builds, installs Velmora into its own folder
# (default ~/Velmora, or the folder given as the first argument) and starts it.
# The installed folder holds the diary (Tarnalist.mdb); building again or
# cleaning the build tree never touches it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$HOME/Velmora}

VELMORA_INPUT_METHOD=1 "$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build-release" --target velmora varnel-convert
cmake --install "$here/build-release" --prefix "$prefix" --component Unspecified >/dev/null

exec "$prefix/velmora"
