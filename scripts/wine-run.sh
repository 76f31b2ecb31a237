#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in a Wine prefix of the
# tests' own: ctest and the test discovery start the Windows build's
# programs through this script (the toolchain's CMAKE_CROSSCOMPILING_EMULATOR).
# Usage: wine-run.sh [--prefix DIR] PROGRAM.exe [ARGUMENT ...]
# The prefix is DIR, or $PALLIX_WINEPREFIX, or ~/.cache/pallix-tools/wine.
# It is made on first use (wineboot, once, under a lock, so that parallel
# tests wait for it), and the user's folders in it (Documents, Desktop ...)
# are real folders inside it rather than Wine's links to the home folder:
# nothing a test writes reaches the user's own files.
set -euo pipefail

prefix=""
if [ "${1:-}" = "--prefix" ]; then
  prefix="$2"
  shift 2
fi
export WINEPREFIX="${PALLIX_WINEPREFIX:-${prefix:-${XDG_CACHE_HOME:-$HOME/.cache}/pallix-tools/wine}}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono, no Gecko, no menu entries: nothing to download or to add to the desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# Wine turns arguments and file names into UTF-16 by the locale's character set.
case "$(locale charmap 2> /dev/null)" in
  UTF-8) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac

wine="$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)"

if [ ! -f "$WINEPREFIX/.pallix-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9> "$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.pallix-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i > /dev/null 2>&1 || true
    wineserver -w > /dev/null 2>&1 || true
    users="$WINEPREFIX/drive_c/users/$(id -un)"
    if [ ! -d "$users" ]; then
      echo "wine-run.sh: Wine could not make its prefix in $WINEPREFIX" >&2
      exit 1
    fi
    for folder in "$users"/*; do
      if [ -L "$folder" ]; then
        rm "$folder"
        mkdir "$folder"
      fi
    done
    touch "$WINEPREFIX/.pallix-ready"
  fi
  flock -u 9
  exec 9>&-
fi

exec "$wine" "$@"
