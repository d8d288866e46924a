#!/usr/bin/env bash
# Installs Velmora into a temporary folder exactly as scripts/run.sh does (with --no-start),
# checks that the folder holds every file the README names, runs the installed tools, and
# starts the installed program once on the offscreen platform until its front screen shows,
# then ends it with SIGTERM. Says what failed and exits 1 on any failure.
# The desktop entry and icons go into a temporary XDG_DATA_HOME, never the user's own.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

tmp=$(mktemp -d "${TMPDIR:-/tmp}/velmora-install.XXXXXX")
folder=$tmp/Velmora
pid=
ok=0
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid" 2>/dev/null || true
  fi
  if [ "$ok" = 1 ]; then rm -rf "$tmp"; else echo "check-install: left $tmp for a look" >&2; fi
}
trap cleanup EXIT

failures=0
show_log() {
  if [ -s "$log" ]; then sed 's/^/  | /' "$log" >&2; else echo "  (velmora printed nothing)" >&2; fi
}
fail() {
  echo "check-install: FAILED: $*" >&2
  failures=$((failures + 1))
}

echo "check-install: scripts/run.sh --no-start $folder"
began=$SECONDS
if ! XDG_DATA_HOME=$tmp/data "$here/scripts/run.sh" --no-start "$folder"; then
  echo "check-install: FAILED: scripts/run.sh --no-start did not finish" >&2
  exit 1
fi
echo "check-install: installed in $((SECONDS - began)) s"

# Every file the README names as installed. The data files are the repository's own.
for f in velmora velmora-cli varnel-convert; do
  [[ -f $folder/$f && -x $folder/$f ]] || fail "$f is not installed as a program in $folder"
done
for f in help.htm kgp-keyboard.svg rptlocal.rpt rptoutstation.rpt rpttour.rpt rptagenda.rpt; do
  if [ ! -f "$folder/$f" ]; then
    fail "$f is not installed in $folder"
  elif ! cmp -s "$folder/$f" "$here/resources/$f"; then
    fail "$folder/$f differs from resources/$f"
  fi
done
# Every picture the help page shows lies beside it.
if [ -f "$folder/help.htm" ]; then
  while IFS= read -r picture; do
    [ -f "$folder/$picture" ] || fail "help.htm shows $picture, which is not installed"
  done < <(grep -o 'src="[^":]*"' "$folder/help.htm" | sed 's/^src="//; s/"$//' | sort -u)
fi
# The desktop entry starts the installed program; the icon in every size.
entry=$tmp/data/applications/velmora.desktop
if [ ! -f "$entry" ]; then
  fail "the desktop entry was not installed as $entry"
elif ! grep -qxF "Exec=\"$folder/velmora\"" "$entry"; then
  fail "the desktop entry does not start $folder/velmora: $(grep '^Exec=' "$entry" || true)"
fi
icons=(scalable/apps/velmora.svg)
for size in 16 24 32 48 64 128 256; do icons+=("${size}x$size/apps/velmora.png"); done
for icon in "${icons[@]}"; do
  [ -f "$tmp/data/icons/hicolor/$icon" ] || fail "the icon $icon was not installed"
done

# The programs depend on nothing in the source or build tree.
for f in velmora velmora-cli varnel-convert; do
  [ -x "$folder/$f" ] || continue
  if readelf -d "$folder/$f" | grep -E 'R(UN)?PATH' | grep -qF "$here"; then
    fail "$f still looks for libraries in $here: $(readelf -d "$folder/$f" | grep -E 'R(UN)?PATH')"
  fi
  if ldd "$folder/$f" | grep -q 'not found'; then
    fail "$f misses libraries: $(ldd "$folder/$f" | grep 'not found' | tr -s ' \t\n' ' ')"
  fi
done

# The command-line tools run from the folder.
if [ -x "$folder/velmora-cli" ]; then
  status=0
  help=$("$folder/velmora-cli" --help 2>&1) || status=$?
  if [ "$status" != 0 ]; then
    fail "velmora-cli --help exited with $status: $help"
  elif [ -z "$help" ]; then
    fail "velmora-cli --help printed nothing"
  else
    for command in list report backup restore export import server; do
      grep -qE "^  $command " <<<"$help" || fail "velmora-cli --help does not list '$command'"
    done
  fi
fi
if [ -x "$folder/varnel-convert" ]; then
  "$folder/varnel-convert" --to-unicode </dev/null >/dev/null || fail "varnel-convert --to-unicode failed"
fi

# The program itself: started from elsewhere, on a folder with no diary, with a home of its
# own, until the front screen is painted; SIGTERM then ends it as its exit entry does.
if [ -x "$folder/velmora" ]; then
  home=$tmp/home
  mkdir -p "$home" "$tmp/runtime"
  chmod 700 "$tmp/runtime"
  log=$tmp/velmora.log
  began=$SECONDS
  (cd "$tmp" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
     XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$tmp/runtime" \
     QT_QPA_PLATFORM=offscreen VELMORA_FRONT_SHOWN=1 "$folder/velmora") >"$log" 2>&1 &
  pid=$!
  shown=0
  for _ in $(seq 300); do
    if grep -q '^velmora: front screen shown$' "$log"; then shown=1; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ "$shown" = 0 ]; then
    if kill -0 "$pid" 2>/dev/null; then
      fail "the installed velmora showed no front screen within 30 s"
    else
      status=0; wait "$pid" || status=$?; pid=
      fail "the installed velmora ended (status $status) before its front screen showed"
    fi
    show_log
  else
    echo "check-install: the front screen showed after $((SECONDS - began)) s"
    kill -TERM "$pid"
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      fail "the installed velmora did not end within 10 s of SIGTERM"
      show_log
    else
      status=0; wait "$pid" || status=$?; pid=
      if [ "$status" != 0 ]; then
        fail "the installed velmora ended with status $status on SIGTERM"
        show_log
      fi
    fi
  fi
fi

if [ "$failures" != 0 ]; then
  echo "check-install: $failures check(s) failed." >&2
  exit 1
fi
ok=1
echo "check-install: all checks passed."
