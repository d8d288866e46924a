#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest
# on the offscreen platform, then checks the installation (scripts/check-install.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}

"$here/scripts/deps.sh"

# Every tracked C++ file as .clang-format lays it out. The files that differ are listed; they
# fail the run (VELMORA_FORMAT_CHECK=0 only lists them).
format_failed=0
if command -v clang-format >/dev/null; then
  unformatted=()
  while IFS= read -r f; do
    clang-format --dry-run -Werror "$here/$f" >/dev/null 2>&1 || unformatted+=("$f")
  done < <(git -C "$here" ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
             'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
  if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (clang-format -i FILE):"
    printf '  %s\n' "${unformatted[@]}"
    [ "${VELMORA_FORMAT_CHECK:-1}" = 1 ] && format_failed=1
  fi
elif [ "${VELMORA_FORMAT_CHECK:-1}" = 1 ]; then
  echo "The format check needs clang-format." >&2
  format_failed=1
fi

# The layers' doors: only the engine (src/platform/jet) talks to SQLite, and the platform floor
# (src/platform) knows nothing of the diary above it (src/data).
layers_failed=0
sqlite_above=$(grep -rlE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]sqlite3\.h[>"]' \
                 "$here/src" | grep -v "^$here/src/platform/jet/" || true)
if [ -n "$sqlite_above" ]; then
  echo "Only src/platform/jet may include sqlite3.h; these do as well:"
  printf '  %s\n' ${sqlite_above//$here\//}
  layers_failed=1
fi
data_below=$(grep -rl '#include "data/' "$here/src/platform" || true)
if [ -n "$data_below" ]; then
  echo "src/platform may not include src/data; these do:"
  printf '  %s\n' ${data_below//$here\//}
  layers_failed=1
fi
# Nor does it show anything: its code links Qt Core alone, so a Qt header of another module
# (QtWidgets, QtGui's QPainter, ...) or a header of a room with windows (src/widgets,
# src/preview, src/shell, src/app, any ui/) has no place there.
qt_core=$(qtpaths6 --query QT_INSTALL_HEADERS)/QtCore
ui_below=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$here/src/platform" |
  while IFS= read -r line; do
    header=$(sed -E 's/^[^#]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/' <<<"${line#*:*:}")
    case "$header" in
      widgets/* | preview/* | shell/* | app/* | */ui/*) echo "${line%%:*}: $header" ;;
      QtCore/*) ;;
      Qt*/*) echo "${line%%:*}: $header" ;;
      Q*) [ -e "$qt_core/$header" ] || echo "${line%%:*}: $header" ;;
    esac
  done || true)
if [ -n "$ui_below" ]; then
  echo "src/platform may include Qt Core and no room with windows; these include more:"
  sed "s#^$here/#  #" <<<"$ui_below"
  layers_failed=1
fi

# No circle of rooms (scripts/check-rooms.sh): a room never includes one that includes it back.
"$here/scripts/check-rooms.sh" || layers_failed=1

werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=$werror >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

# Installs a Release build into a temporary folder as scripts/run.sh does and starts it once
# (VELMORA_INSTALL_CHECK=0 leaves this out).
install_failed=0
if [ "${VELMORA_INSTALL_CHECK:-1}" = 1 ]; then
  "$here/scripts/check-install.sh" || install_failed=1
fi
[ "$format_failed" = 0 ] || echo "Format check failed." >&2
[ "$layers_failed" = 0 ] || echo "Layer check failed." >&2
[ "$install_failed" = 0 ] || echo "Install check failed." >&2
[ "$format_failed" = 0 ] && [ "$layers_failed" = 0 ] && [ "$install_failed" = 0 ] || exit 1
