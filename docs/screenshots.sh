#!/usr/bin/env bash
# Makes docs/consent-dialog.png and docs/completion-box.png from the real
# OrvantaCtrl.exe of a Windows build, under Wine on an X display of its own:
# the dialog as it opens, then, after the agree box is ticked and OK pressed
# from the keyboard, the completion box; both on a Korean system (code page
# 949). Then docs/consent-dialog-cp1252.png: the dialog on a Western system
# (code page 1252). Each run writes only to a throwaway Wine prefix.
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

start_wine_session || exit 1
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
end_wine_session

start_wine_session C.UTF-8 || exit 1
# A Western Windows 7 or later has Korean fonts and links them to its dialog
# fonts, so Hangul shows in any face. This Wine has only the Nanum fonts, and
# under code page 1252 it does not reach for them: name NanumGothic as the
# Gulim that its font links and the bold face ask for. (A Unicode .reg file,
# since the code page cannot spell the Korean face name.)
printf 'Windows Registry Editor Version 5.00\r\n\r\n%s\r\n"Gulim"="NanumGothic"\r\n"굴림"="NanumGothic"\r\n' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' |
  iconv -f UTF-8 -t UTF-16 >"$session_dir/fonts.reg"
wine regedit /S "Z:${session_dir//\//\\}\\fonts.reg" >"$session_dir/regedit.log" 2>&1
wine "$exe" >"$session_dir/program.log" 2>&1 &
program=$!
shoot '신뢰할 수 있는 사이트 추가' "$docs/consent-dialog-cp1252.png" || exit 1
xdotool key Escape
wait "$program"
