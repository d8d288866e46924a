#!/usr/bin/env bash
# Builds Velmora's Debian package, velmora_VERSION_ARCH.deb, into OUTDIR:
#
#   scripts/package.sh OUTDIR
#   sudo apt install ./OUTDIR/velmora_*.deb
#
# Installs what the build needs (through sudo when not run as root), checks that
# debian/changelog and the AppStream release name the version of CMakeLists.txt's project(),
# builds with dpkg-buildpackage in a temporary copy of the source tree (so neither the tree nor
# its build folders are touched), then checks the package with lintian (no error, no warning),
# appstreamcli and desktop-file-validate. Says what failed and exits 1 on any failure.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

case ${1:-} in
  -h|--help) echo "usage: scripts/package.sh OUTDIR"; exit 0 ;;
  ''|-*) echo "usage: scripts/package.sh OUTDIR" >&2; exit 2 ;;
esac
[ $# -eq 1 ] || { echo "package.sh: only one OUTDIR may be given" >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
# The packaging tools and the checkers; then the Build-Depends of debian/control.
install_missing build-essential dpkg-dev debhelper lintian appstream desktop-file-utils
if ! dpkg-checkbuilddeps "$here/debian/control" 2>/dev/null; then
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get build-dep -y -qq "$here"
fi

# The version is set in one place, CMakeLists.txt's project(); the rest must follow it.
version=$(sed -n 's/^project(Velmora VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$here/CMakeLists.txt")
[ -n "$version" ] || fail "found no project(Velmora VERSION x.y.z) in CMakeLists.txt"
changelog=$(dpkg-parsechangelog -l "$here/debian/changelog" -S Version)
[ "$changelog" = "$version" ] ||
  fail "debian/changelog's newest entry is $changelog but CMakeLists.txt's project() says $version: add an entry for $version (dch -v $version) or correct project()"
metainfo=$here/resources/org.velmora.velmora.metainfo.xml
release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | sed 's/.*"\(.*\)"/\1/')
[ "$release" = "$version" ] ||
  fail "the newest <release> in ${metainfo#"$here"/} is ${release:-missing} but CMakeLists.txt's project() says $version"

# A copy of the source tree: the files git knows (committed or new, never ignored ones such as
# build/), or everything but the build folders outside a git work tree.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velmora-package.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
src=$tmp/velmora-$version
mkdir "$src"
if git -C "$here" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$here" ls-files -z --cached --others --exclude-standard |
    tar -C "$here" --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$src" -xf -
else
  tar -C "$here" --exclude='./build*' --exclude=./out -cf - . | tar -C "$src" -xf -
fi

echo "package.sh: building velmora $version in $src"
began=$SECONDS
export DEB_BUILD_OPTIONS="parallel=$(nproc) noautodbgsym ${DEB_BUILD_OPTIONS:-}"
(cd "$src" && dpkg-buildpackage -b -us -uc) || fail "dpkg-buildpackage failed (output above)"
deb=velmora_${version}_$(dpkg --print-architecture).deb
[ -f "$tmp/$deb" ] || fail "dpkg-buildpackage made no $deb"
echo "package.sh: built $deb in $((SECONDS - began)) s"

# The package's checks: lintian without errors or warnings (overrides say why), and the
# AppStream metadata and desktop entry as they are installed.
echo "package.sh: lintian $deb"
lintian --fail-on error,warning --info "$tmp/$deb" || fail "lintian found errors or warnings in $deb (above)"
root=$tmp/root
dpkg-deb -x "$tmp/$deb" "$root"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml ||
  fail "appstreamcli refuses the package's AppStream metadata (above)"
desktop-file-validate "$root/usr/share/applications/velmora.desktop" ||
  fail "desktop-file-validate refuses the package's desktop entry (above)"

cp "$tmp/$deb" "$out/"
echo "package.sh: $out/$deb"
