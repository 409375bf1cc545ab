#!/usr/bin/env bash
# Builds OrvantaCtrl.exe and starts it under Wine on your display, in your own
# Wine prefix (WINEPREFIX, default ~/.wine) with the Korean ANSI code page.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no X display (DISPLAY is not set)." >&2
  echo "Run it from a desktop session, or give it a virtual one: xvfb-run -a scripts/run.sh" >&2
  exit 2
fi

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 >/dev/null

export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}"
export LC_ALL=ko_KR.UTF-8 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
echo "Starting OrvantaCtrl.exe in Wine prefix $WINEPREFIX"
wine build/windows/OrvantaCtrl.exe
