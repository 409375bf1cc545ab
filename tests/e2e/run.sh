#!/usr/bin/env bash
# Whole-program runs of OrvantaCtrl.exe under Wine on virtual displays of
# their own. Takes the windows preset's build directory (default
# build/windows); see e2e.py --help for the options (--shots DIR saves
# screenshots, --only NAME picks scenarios). Ends with "N passed, M failed".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# -B: no bytecode caches left in the source tree.
exec python3 -B "$here/e2e.py" "$@"
