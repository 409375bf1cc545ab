#!/usr/bin/env bash
# Installs what is missing, builds the three presets and runs every test:
# native unit tests, in-process tests inside Wine, whole-program runs under
# Wine, and the release checks on both Windows executables. The 32-bit build
# (windows-x86) is built and checked statically only: this machine's kernel
# cannot run 32-bit programs, so Wine runs the 64-bit build of the same
# source. Ends with one line: "total: N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh || exit 1

logs=$(mktemp -d /tmp/orvanta-test.XXXXXX)
passed=0
failed=0
broken_stages=()

# Runs one stage, shows its output and adds its counts to the totals. A stage
# that fails without reporting a failed test still counts as one failure.
stage() {
  local name=$1
  shift
  echo "=== $name"
  "$@" 2>&1 | tee "$logs/$name.log"
  local status=${PIPESTATUS[0]}
  local counts
  counts=$(sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2 \1/p; s/^([A-Za-z]+: )?([0-9]+) passed, ([0-9]+) failed.*/_ \2 \3/p' \
    "$logs/$name.log" | tail -n 1)
  local stage_passed=0 stage_failed=0
  case "$counts" in
    _*) read -r _ stage_passed stage_failed <<<"$counts" ;;
    ?*) read -r total stage_failed <<<"$counts"; stage_passed=$((total - stage_failed)) ;;
  esac
  if [ "$status" -ne 0 ]; then
    broken_stages+=("$name")
    [ "$stage_failed" -eq 0 ] && stage_failed=1
  fi
  passed=$((passed + stage_passed))
  failed=$((failed + stage_failed))
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j2; }

stage native-build build native
stage native-tests ctest --preset native
stage windows-build build windows
stage windows-x86-build build windows-x86
stage win32-tests tests/win32/run.sh build/windows
stage e2e tests/e2e/run.sh build/windows
stage release tests/release/run.sh build/windows build/windows-x86

rm -rf "$logs"
[ ${#broken_stages[@]} -eq 0 ] || echo "failed stages: ${broken_stages[*]}"
echo "total: $passed passed, $failed failed"
[ ${#broken_stages[@]} -eq 0 ]
