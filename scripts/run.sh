#!/usr/bin/env bash
# Installs what is missing, builds, installs Velmora into its own folder
# (default ~/Velmora, or the folder given as the first argument) and starts it.
# The installed folder holds the diary (Tarnalist.mdb); building again or
# cleaning the build tree never touches it.
#
#   scripts/run.sh [--no-start] [FOLDER]
#
# --no-start installs everything as usual but does not start the program
# (scripts/check-install.sh uses it).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
start=1
prefix=
for arg in "$@"; do
  case $arg in
    --no-start) start=0 ;;
    -h|--help) echo "usage: scripts/run.sh [--no-start] [FOLDER]"; exit 0 ;;
    -*) echo "run.sh: unknown option $arg (usage: scripts/run.sh [--no-start] [FOLDER])" >&2; exit 2 ;;
    *)
      [ -z "$prefix" ] || { echo "run.sh: only one FOLDER may be given" >&2; exit 2; }
      prefix=$arg ;;
  esac
done
prefix=${prefix:-$HOME/Velmora}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
build=$here/build-release

VELMORA_INPUT_METHOD=1 "$here/scripts/deps.sh"

# Build exactly the targets that have install() rules, as CMake's file API reports them
# after configuring, so a newly installed program is never left out (and the tests are not
# built here).
query=$build/.cmake/api/v1/query/codemodel-v2
mkdir -p "$(dirname "$query")"
touch "$query"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
mapfile -t installed < <(python3 - "$build/.cmake/api/v1/reply" <<'EOF'
import json, pathlib, sys
reply = pathlib.Path(sys.argv[1])
index = json.loads(sorted(reply.glob("index-*.json"))[-1].read_text())
codemodel = json.loads((reply / index["reply"]["codemodel-v2"]["jsonFile"]).read_text())
names = {}
for config in codemodel["configurations"]:
    for target in config["targets"]:
        if "install" in json.loads((reply / target["jsonFile"]).read_text()):
            names[target["name"]] = None
for name in names:
    print(name)
EOF
)
if [ ${#installed[@]} -eq 0 ]; then
  echo "run.sh: CMake reported no installed target in $build" >&2
  exit 1
fi
cmake --build "$build" --target "${installed[@]}"
cmake --install "$build" --prefix "$prefix" --component Unspecified >/dev/null

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
# The reminders start at this user's login ([reminders] enabled=false in Velmora.ini stops them).
desktop-file-install --dir="${XDG_CONFIG_HOME:-$HOME/.config}/autostart" \
  --set-key=Exec --set-value="\"$prefix/velmora-reminders\"" \
  --set-key=TryExec --set-value="$prefix/velmora-reminders" "$here/resources/velmora-reminders.desktop"
update-desktop-database -q "$data_home/applications" 2>/dev/null || true
gtk-update-icon-cache -q -t "$data_home/icons/hicolor" 2>/dev/null || true

[ "$start" = 1 ] || exit 0
exec "$prefix/velmora"
