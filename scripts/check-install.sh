#!/usr/bin/env bash
# Installs Velmora into a temporary folder exactly as scripts/run.sh does (with --no-start),
# checks that the folder holds every file the README names, runs the installed tools, and
# starts the installed program once on the offscreen platform until its front screen shows,
# then ends it with SIGTERM. Says what failed and exits 1 on any failure.
# The desktop entry and icons go into a temporary XDG_DATA_HOME, never the user's own.
#
# With VELMORA_PACKAGE_CHECK=1 it also builds the Debian package (scripts/package.sh, which
# runs lintian, appstreamcli and desktop-file-validate), checks the package's file list, its
# dependencies and maintainer scripts, and starts the programs unpacked into a temporary root
# the same way, each user's diary then in their own data folder. Off by default: building the
# package compiles the whole program once more.
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
if ! XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config "$here/scripts/run.sh" --no-start "$folder"; then
  echo "check-install: FAILED: scripts/run.sh --no-start did not finish" >&2
  exit 1
fi
echo "check-install: installed in $((SECONDS - began)) s"

# Every file the README names as installed. The data files are the repository's own.
for f in velmora velmora-cli varnel-convert velmora-reminders; do
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

# The reminders start at login from the installed program.
autostart=$tmp/config/autostart/velmora-reminders.desktop
if [ ! -f "$autostart" ]; then
  fail "the reminders' autostart entry was not installed as $autostart"
elif ! grep -q "^Exec=.*$folder/velmora-reminders" "$autostart"; then
  fail "the autostart entry does not start $folder/velmora-reminders"
fi

# The programs depend on nothing in the source or build tree.
for f in velmora velmora-cli varnel-convert velmora-reminders; do
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

# Starts the program $1 from elsewhere with a home of its own ($2) until the front screen is
# painted; SIGTERM then ends it as its exit entry does.
start_once() {
  local program=$1 home=$2 began shown status
  mkdir -p "$home" "$tmp/runtime"
  chmod 700 "$tmp/runtime"
  log=$tmp/velmora.log
  began=$SECONDS
  (cd "$tmp" && exec env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
     XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$tmp/runtime" \
     QT_QPA_PLATFORM=offscreen VELMORA_FRONT_SHOWN=1 "$program") >"$log" 2>&1 &
  pid=$!
  shown=0
  for _ in $(seq 300); do
    if grep -q '^velmora: front screen shown$' "$log"; then shown=1; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ "$shown" = 0 ]; then
    if kill -0 "$pid" 2>/dev/null; then
      fail "$program showed no front screen within 30 s"
    else
      status=0; wait "$pid" || status=$?; pid=
      fail "$program ended (status $status) before its front screen showed"
    fi
    show_log
    return 0
  fi
  echo "check-install: the front screen showed after $((SECONDS - began)) s"
  kill -TERM "$pid"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$program did not end within 10 s of SIGTERM"
    show_log
  else
    status=0; wait "$pid" || status=$?; pid=
    if [ "$status" != 0 ]; then
      fail "$program ended with status $status on SIGTERM"
      show_log
    fi
  fi
  return 0
}

# The program itself, on a folder with no diary.
if [ -x "$folder/velmora" ]; then start_once "$folder/velmora" "$tmp/home"; fi

if [ "${VELMORA_PACKAGE_CHECK:-0}" = 1 ]; then
  echo "check-install: scripts/package.sh $tmp/dist"
  if ! "$here/scripts/package.sh" "$tmp/dist"; then
    echo "check-install: FAILED: scripts/package.sh did not make the package" >&2
    exit 1
  fi
  version=$(sed -n 's/^project(Velmora VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$here/CMakeLists.txt")
  deb=$tmp/dist/velmora_${version}_$(dpkg --print-architecture).deb

  # Exactly these files, no more and no fewer.
  expected=(usr/bin/velmora usr/bin/velmora-cli usr/bin/varnel-convert usr/bin/velmora-reminders
    etc/xdg/autostart/velmora-reminders.desktop
    usr/share/applications/velmora.desktop usr/share/metainfo/org.velmora.velmora.metainfo.xml
    usr/share/bash-completion/completions/velmora-cli
    usr/share/doc/velmora/changelog.gz usr/share/doc/velmora/copyright)
  for f in help.htm kgp-keyboard.svg rptlocal.rpt rptoutstation.rpt rpttour.rpt rptagenda.rpt; do
    expected+=("usr/share/velmora/$f")
  done
  for page in velmora velmora-cli varnel-convert velmora-reminders; do
    expected+=("usr/share/man/man1/$page.1.gz")
  done
  for icon in "${icons[@]}"; do expected+=("usr/share/icons/hicolor/$icon"); done
  listed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
  wanted=$(printf '%s\n' "${expected[@]}" | sort)
  while IFS= read -r f; do
    [ -n "$f" ] && fail "the package lacks $f"
  done < <(comm -13 <(printf '%s\n' "$listed") <(printf '%s\n' "$wanted"))
  while IFS= read -r f; do
    [ -n "$f" ] && fail "the package holds $f, which it should not"
  done < <(comm -23 <(printf '%s\n' "$listed") <(printf '%s\n' "$wanted"))

  # What shlibs cannot see: Kannada fonts and m17n's keyboard maps.
  depends=$(dpkg-deb -f "$deb" Depends)
  for p in fonts-noto-core m17n-db; do
    grep -qw -- "$p" <<<"$depends" || fail "the package does not depend on $p: $depends"
  done
  # An upgrade or removal never reaches into the users' homes.
  control=$tmp/control
  dpkg-deb -e "$deb" "$control"
  for script in preinst postinst prerm postrm; do
    if [ -f "$control/$script" ] && grep -qE 'HOME|/home|\.local/share' "$control/$script"; then
      fail "the package's $script reaches into users' homes"
    fi
  done

  # The programs as installed, in a temporary root: the help page and templates from
  # usr/share/velmora, the diary in the user's own data folder, nothing beside the programs.
  root=$tmp/root
  dpkg-deb -x "$deb" "$root"
  shown=$("$root/usr/bin/velmora-cli" --version 2>&1) || true
  [ "$shown" = "velmora-cli $version" ] ||
    fail "velmora-cli --version says '$shown', not 'velmora-cli $version'"
  if [ -x "$root/usr/bin/velmora" ]; then start_once "$root/usr/bin/velmora" "$tmp/user"; fi
  diary=$tmp/user/.local/share/Velmora/Tarnalist.mdb
  if [ ! -f "$diary" ]; then
    fail "the packaged velmora made no diary $diary"
  else
    [ "$(stat -c %a "$diary")" = 600 ] || fail "$diary has mode $(stat -c %a "$diary"), not 600"
    [ "$(stat -c %a "$(dirname "$diary")")" = 700 ] ||
      fail "$(dirname "$diary") has mode $(stat -c %a "$(dirname "$diary")"), not 700"
  fi
  for f in "$root/usr/bin"/*; do
    case ${f##*/} in velmora|velmora-cli|varnel-convert|velmora-reminders) ;; *) fail "the packaged velmora left ${f##*/} beside itself" ;; esac
  done
fi

if [ "$failures" != 0 ]; then
  echo "check-install: $failures check(s) failed." >&2
  exit 1
fi
ok=1
echo "check-install: all checks passed."
