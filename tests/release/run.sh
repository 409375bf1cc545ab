#!/usr/bin/env bash
# The release checks: each executable's hardening and imports (and that the
# check catches each regression) and its signing; that the builds carry the
# same resources; the release command; reproducible builds.
#
# Usage: tests/release/run.sh BUILD_DIR|EXE...
#   e.g. tests/release/run.sh build/windows build/windows-x86
# The release command and the reproducibility check build both Windows
# presets themselves (the first in the work tree, the second from copies of
# it under ${TMPDIR:-/tmp}). Ends with "release: N passed, M failed" and exits
# non-zero when anything failed.
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR|EXE..." >&2
  exit 2
fi
exes=()
for exe in "$@"; do
  [ -d "$exe" ] && exe=$exe/OrvantaCtrl.exe
  if [ ! -f "$exe" ]; then
    echo "$0: no executable at $exe; build its preset first" >&2
    echo "release: 0 passed, 1 failed"
    exit 1
  fi
  exes+=("$exe")
done
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=find_python.sh
. "$here/find_python.sh" || { echo "release: 0 passed, 1 failed"; exit 1; }

passed=0
failed=0
broken=()
# Runs one part, shows its output and adds its closing counts to the totals;
# a part that fails without counting a failure still counts as one.
part() {
  local name=$1
  shift
  echo "--- $name"
  local log
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local counts
  counts=$(sed -nE 's/^[A-Za-z-]+: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' "$log" | tail -n 1)
  rm -f "$log"
  local part_passed=0 part_failed=0
  [ -n "$counts" ] && read -r part_passed part_failed <<<"$counts"
  if [ "$status" -ne 0 ]; then
    broken+=("$name")
    [ "$part_failed" -eq 0 ] && part_failed=1
  fi
  passed=$((passed + part_passed))
  failed=$((failed + part_failed))
}

for exe in "${exes[@]}"; do
  part "hardening $exe" "$PYTHON" "$here/check_hardening.py" "$exe"
  part "hardening-mutations $exe" "$PYTHON" -B "$here/hardening_mutations_test.py" "$exe"
  part "signing $exe" "$here/signing.sh" "$exe"
done
for exe in "${exes[@]:1}"; do
  part "resources ${exes[0]} $exe" "$PYTHON" "$here/same_resources.py" "${exes[0]}" "$exe"
done
part release-command "$here/release_command.sh"
part reproducible "$here/reproducible.sh"

[ ${#broken[@]} -eq 0 ] || echo "failed parts: ${broken[*]}"
echo "release: $passed passed, $failed failed"
[ ${#broken[@]} -eq 0 ]
