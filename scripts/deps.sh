#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Safe to run again: only what is missing is installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6
  # lrelease: the program's Kannada translation of Qt's file and print dialogs.
  qt6-l10n-tools
  libsqlite3-dev sqlite3
  libpq-dev postgresql-15
  mdbtools-dev
  fonts-noto-core fonts-lohit-knda fonts-gubbi
  fontconfig
  clang-format
  libpango1.0-dev libcairo2-dev qt6-pdf-dev libqt6pdfwidgets6 poppler-utils
  libcups2-dev
  # The printing test sends a report to a PDF queue of its own.
  cups printer-driver-cups-pdf
  libm17n-dev m17n-db
  desktop-file-utils python3-icalendar
  # Publishing to a CalDAV calendar: libical builds the events, libsecret asks the desktop's
  # secret service for the password; the tests run a Radicale server.
  libical-dev libsecret-1-dev radicale
  # dbus-run-session: the reminders' tests run on a private session bus.
  dbus
)
# Typing Kannada: IBus with m17n's Kannada keyboards (KGP, Inscript, ITRANS and others).
if [ "${VELMORA_INPUT_METHOD:-0}" = 1 ]; then
  packages+=(ibus ibus-m17n m17n-db)
fi
# Looking at the program under a virtual screen.
if [ "${VELMORA_DESKTOP_TOOLS:-0}" = 1 ]; then
  packages+=(xvfb xauth xdotool imagemagick poppler-utils dunst)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
