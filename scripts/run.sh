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

# Velmora in the desktop's menu, for this user: the entry (starting the program in this
# folder) and its icon in the hicolor theme.
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
desktop-file-install --dir="$data_home/applications" \
  --set-key=Exec --set-value="\"$prefix/velmora\"" --set-key=TryExec --set-value="$prefix/velmora" \
  "$here/resources/velmora.desktop"
install -Dm644 "$here/resources/icons/velmora.svg" "$data_home/icons/hicolor/scalable/apps/velmora.svg"
for size in 16 24 32 48 64 128 256; do
  install -Dm644 "$here/resources/icons/velmora-$size.png" \
    "$data_home/icons/hicolor/${size}x${size}/apps/velmora.png"
done
update-desktop-database -q "$data_home/applications" 2>/dev/null || true
gtk-update-icon-cache -q -t "$data_home/icons/hicolor" 2>/dev/null || true

exec "$prefix/velmora"
