#!/usr/bin/env bash
# Makes docs/consent-dialog.png and docs/completion-box.png from the real
# OrvantaCtrl.exe of a Windows build, under Wine on an X display of its own:
# the dialog as it opens, then, after the agree box is ticked and OK pressed
# from the keyboard, the completion box. The run writes only to a throwaway
# Wine prefix.
# usage: docs/screenshots.sh WINDOWS_BUILD_DIR
set -uo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR" >&2
  exit 2
fi
exe=$(cd "$1" && pwd)/OrvantaCtrl.exe
docs=$(cd "$(dirname "$0")" && pwd)

source "$docs/../tests/win32/wine_session.sh"
trap end_wine_session EXIT
start_wine_session || exit 1

# Waits for the program's window titled $1, lets Wine paint it, and saves
# just that window as $2 with a small palette. (xdotool's --name does not
# match Korean titles here, hence the loop over the program's windows.)
shoot() {
  local window="" candidate
  for _ in $(seq 60); do
    for candidate in $(xdotool search --onlyvisible --classname orvantactrl); do
      [ "$(xdotool getwindowname "$candidate")" = "$1" ] && window=$candidate
    done
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -z "$window" ]; then
    echo "no window titled $1 appeared" >&2
    return 1
  fi
  sleep 1
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage +dither -colors 64 "PNG8:$2"
  # Keys go to the window under the pointer: no window manager gives focus.
  xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))"
}

wine "$exe" >"$session_dir/program.log" 2>&1 &
program=$!

shoot '신뢰할 수 있는 사이트 추가' "$docs/consent-dialog.png" || exit 1
# The agree box has the focus: tick it, then Enter presses the now enabled OK.
xdotool key space
sleep 0.5
xdotool key Return
shoot OrvantaCtrl "$docs/completion-box.png" || exit 1
xdotool key Return
wait "$program"
