#!/usr/bin/env bash
# Prints the size of both builds of OrvantaCtrl.exe (64-bit and 32-bit), and
# how long the 64-bit one takes under Wine from process start to its dialog
# being visible, as a ratio to the least program that shows the same dialog
# template; and, to read that ratio, the same for the least program that
# first creates the URL security manager, which the trusted-zone probe must
# do before any dialog. The 32-bit build is not timed: this machine cannot
# run 32-bit programs. Prints figures; asserts nothing.
#
# Usage: scripts/bench.sh [BUILD_DIR [X86_BUILD_DIR]]
#   (default: build/windows and build/windows-x86)
#   Builds the windows or windows-x86 preset there first if OrvantaCtrl.exe
#   is missing.
# Environment:
#   BENCH_RUNS     measured runs of each program (default 7), alternating
#   BENCH_DISPLAY  an X display number for Xvfb (default: a free one)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$repo/build/windows}")
build_x86=$(realpath -m "${2:-$repo/build/windows-x86}")
runs=${BENCH_RUNS:-7}
size_goal=$((64 * 1024))

# Builds preset $1 in directory $2 unless its executable is there.
build_if_missing() {
  if [ ! -f "$2/OrvantaCtrl.exe" ]; then
    echo "building the $1 preset in $2"
    (cd "$repo" && cmake --preset "$1" -B "$2" >/dev/null &&
      cmake --build "$2" --target OrvantaCtrl -j2 >/dev/null)
  fi
}
build_if_missing windows "$build"
build_if_missing windows-x86 "$build_x86"
exe=$build/OrvantaCtrl.exe

scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-bench.XXXXXX")
xvfb_pid=
cleanup() {
  if [ -d "$scratch/prefix" ]; then WINEPREFIX=$scratch/prefix wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# --- Size -------------------------------------------------------------------
# Prints the size of executable $2 labelled $1, and its sections as objdump $3 reads them.
report_size() {
  local label=$1 file=$2 objdump=$3
  local size
  size=$(stat -c %s "$file")
  printf '%-26s %7d bytes  %6s KiB  (goal <= %d KiB: %s)\n' "$label" "$size" \
    "$(awk -v b="$size" 'BEGIN { printf "%.1f", b / 1024 }')" $((size_goal / 1024)) \
    "$([ "$size" -le "$size_goal" ] && echo met || echo missed)"
  echo "  sections (bytes):"
  $objdump -h "$file" | while read -r index name hex _; do
    if [[ $index =~ ^[0-9]+$ ]]; then printf '    %-8s %7d\n' "$name" $((16#$hex)); fi
  done
}
echo "== size"
report_size "OrvantaCtrl.exe (x64)" "$exe" x86_64-w64-mingw32-objdump
report_size "OrvantaCtrl.exe (x86)" "$build_x86/OrvantaCtrl.exe" i686-w64-mingw32-objdump

# --- Start-up time ----------------------------------------------------------
# The yardstick is linked with the very resources OrvantaCtrl was built with.
resources=$(find "$build" -name 'OrvantaCtrl.rc.res' -o -name 'OrvantaCtrl.rc.obj' | head -n 1)
if [ -z "$resources" ]; then
  echo "no compiled OrvantaCtrl.rc found under $build; cannot build the yardstick" >&2
  exit 1
fi
cc=x86_64-w64-mingw32-gcc-win32
$cc -Os -s -static -mwindows -o "$scratch/least_dialog.exe" \
  "$repo/scripts/bench/least_dialog.c" "$resources"
$cc -Os -s -static -mwindows -DCREATE_SECURITY_MANAGER_FIRST -o "$scratch/least_with_probe.exe" \
  "$repo/scripts/bench/least_dialog.c" "$resources" -lole32 -luuid
$cc -Os -s -static -mconsole -o "$scratch/watch_dialog.exe" "$repo/scripts/bench/watch_dialog.c"
cp "$exe" "$scratch/OrvantaCtrl.exe"
printf '%-26s %7d bytes  (the yardstick: same resources, DialogBoxParam only)\n' \
  least_dialog.exe "$(stat -c %s "$scratch/least_dialog.exe")"
printf '%-26s %7d bytes  (the same, creating the URL security manager first as the probe must)\n' \
  least_with_probe.exe "$(stat -c %s "$scratch/least_with_probe.exe")"

if [ -n "${BENCH_DISPLAY:-}" ]; then
  display=$BENCH_DISPLAY
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  sleep 1
else
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
  display=$(cat "$scratch/display")
fi
kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }

# Code page 949, as on the Korean systems the program is for.
export DISPLAY=":$display" WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine leaves scratch directories in TMPDIR; keep them with the rest.
mkdir -p "$scratch/tmp"
export TMPDIR="$scratch/tmp"
korean() { env LC_ALL=ko_KR.UTF-8 "$@"; }
korean wineboot -i >"$scratch/wineboot.log" 2>&1
windows_path() { echo "Z:${1//\//\\}"; }

echo
echo "== start-up to visible dialog under Wine ($runs alternating runs each, after a warm-up)"
korean wine "$scratch/watch_dialog.exe" "$runs" \
  "$(windows_path "$scratch/OrvantaCtrl.exe")" "$(windows_path "$scratch/least_dialog.exe")" \
  "$(windows_path "$scratch/least_with_probe.exe")" \
  >"$scratch/times.txt" 2>"$scratch/watch.log" || true
if grep -q failed "$scratch/times.txt" || [ ! -s "$scratch/times.txt" ]; then
  echo "some runs showed no dialog:"
  cat "$scratch/times.txt" "$scratch/watch.log"
fi

median() { # the median of the numbers on standard input, one a line
  sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a";
    else if (NR % 2) printf "%.1f", v[(NR + 1) / 2];
    else printf "%.1f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
least() { sort -n | awk 'NR == 1 { printf "%.1f", $1 } END { if (NR == 0) print "n/a" }'; }
samples() { awk -v p="$1" '$1 == p && $2 != "failed" { print $2 }' "$scratch/times.txt"; }
ratio() { # ratio LABEL A B, when both are numbers
  if [ "$2" != n/a ] && [ "$3" != n/a ]; then
    awk -v label="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%s: %.2f\n", label, a / b }'
  fi
}

names=(OrvantaCtrl.exe least_dialog.exe least_with_probe.exe)
medians=()
minimums=()
for p in 0 1 2; do
  medians+=("$(samples $p | median)")
  minimums+=("$(samples $p | least)")
  printf '%-22s median %6s ms  (fastest %6s ms)  runs: %s\n' "${names[$p]}" "${medians[$p]}" \
    "${minimums[$p]}" "$(samples $p | tr '\n' ' ')"
done
ratio "ratio of medians, OrvantaCtrl / least program (goal <= 1.10)" "${medians[0]}" "${medians[1]}"
ratio "ratio of medians, OrvantaCtrl / least program creating the security manager" \
  "${medians[0]}" "${medians[2]}"
ratio "ratio of fastest runs, OrvantaCtrl / least program" "${minimums[0]}" "${minimums[1]}"
