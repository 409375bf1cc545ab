# Sourced by the scripts that run Windows programs under Wine. Gives them a
# throwaway Wine prefix with code page 949, an X display of their own and a
# wineserver that outlives each program; end_wine_session removes them all.
# ORVANTA_XVFB_DISPLAY (for example :110) picks the display instead of the
# first free one. An argument names another locale for Wine (C.UTF-8 gives
# code page 1252, a Western system).

start_wine_session() {
  local locale=${1:-ko_KR.UTF-8}
  session_dir=$(mktemp -d /tmp/orvanta-wine.XXXXXX) || return 1
  export WINEPREFIX=$session_dir/prefix
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Code page 949 for Wine by default. The shell itself may lack the glibc
  # locale: quiet.
  { export LC_ALL=$locale; } 2>/dev/null
  mkdir -p "$WINEPREFIX"

  # -displayfd reports the display number once the server takes clients.
  # shellcheck disable=SC2086
  Xvfb ${ORVANTA_XVFB_DISPLAY:-} -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$session_dir/display" >"$session_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$session_dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$session_dir/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$session_dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$(head -n 1 "$session_dir/display")

  # Started first and kept alive: a wine command whose output goes to a pipe
  # (ctest's) would otherwise start a server that holds that pipe open.
  wineserver -p >"$session_dir/wineserver.log" 2>&1
  if ! wineboot -i >"$session_dir/wineboot.log" 2>&1; then
    echo "wineboot failed:" >&2
    cat "$session_dir/wineboot.log" >&2
    return 1
  fi
  # No window manager runs on this display: Wine draws the frames and
  # captions itself instead of waiting up to 2 s for one at every hidden window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >"$session_dir/reg.log" 2>&1
}

end_wine_session() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  [ -n "${session_dir:-}" ] && rm -rf "$session_dir"
  return 0
}
