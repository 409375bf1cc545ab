#!/usr/bin/env bash
# Runs the Win32 tests of a Windows build inside Wine, on a throwaway prefix
# and an X display of their own. The exit code is ctest's.
# usage: tests/win32/run.sh WINDOWS_BUILD_DIR
set -uo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 2

source "$(dirname "$0")/wine_session.sh"
trap end_wine_session EXIT
start_wine_session || exit 1

ctest --test-dir "$build_dir" -j1 --output-on-failure
