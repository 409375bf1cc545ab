#!/usr/bin/env bash
# Makes a release: both builds of OrvantaCtrl.exe, each in the folder of its
# architecture and under its own name (the completion box's caption is the
# file name), signed when a certificate is given, and SHA256SUMS. The release
# checks run on the files as they landed; SHA256SUMS is written only when
# they all pass.
#
# Usage: scripts/release.sh [-o DIST_DIR] [CERT KEY]
#   -o DIST_DIR  where the release goes (default: dist beside this script's
#                folder); a release already there is replaced
#   CERT KEY     the code-signing certificate and its private key, as for
#                scripts/sign.sh, which also takes SIGN_KEY_PASSWORD and
#                SIGN_TIMESTAMP_URL from the environment
#
# DIST_DIR/x64/OrvantaCtrl.exe   the windows preset: 64-bit Windows
# DIST_DIR/x86/OrvantaCtrl.exe   the windows-x86 preset: 32-bit Windows, and
#                                64-bit Windows under WOW64
# DIST_DIR/SHA256SUMS            for sha256sum -c, run inside DIST_DIR
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
usage() {
  echo "usage: $0 [-o DIST_DIR] [CERT KEY]" >&2
  exit 2
}
dist=$repo/dist
if [ "${1:-}" = -o ]; then
  [ $# -ge 2 ] || usage
  dist=$(realpath -m "$2")
  shift 2
fi
[ $# -eq 0 ] || [ $# -eq 2 ] || usage
cert=${1:-} key=${2:-}

# shellcheck source=../tests/release/find_python.sh
. "$repo/tests/release/find_python.sh"

# folder in the release, preset that builds it
architectures=("x64 windows" "x86 windows-x86")

rm -f "$dist/SHA256SUMS"
for architecture in "${architectures[@]}"; do
  read -r folder preset <<<"$architecture"
  echo "building the $preset preset"
  (cd "$repo" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target OrvantaCtrl -j2 >/dev/null)

  built=$repo/build/$preset/OrvantaCtrl.exe
  released=$dist/$folder/OrvantaCtrl.exe
  mkdir -p "$dist/$folder"
  rm -f "$released"
  if [ -n "$cert" ]; then
    "$repo/scripts/sign.sh" "$built" "$released" "$cert" "$key"
  else
    cp "$built" "$released"
  fi
done

echo "checking the release in $dist"
status=0
for architecture in "${architectures[@]}"; do
  read -r folder _ <<<"$architecture"
  echo "--- $folder/OrvantaCtrl.exe"
  "$PYTHON" "$repo/tests/release/check_hardening.py" "$dist/$folder/OrvantaCtrl.exe" || status=1
done
echo "--- resources of x64 and x86"
"$PYTHON" "$repo/tests/release/same_resources.py" \
  "$dist/x64/OrvantaCtrl.exe" "$dist/x86/OrvantaCtrl.exe" || status=1
if [ "$status" -ne 0 ]; then
  echo "$0: the release in $dist fails its checks; no SHA256SUMS written" >&2
  exit 1
fi

(cd "$dist" && sha256sum x64/OrvantaCtrl.exe x86/OrvantaCtrl.exe >SHA256SUMS)
echo "released$([ -n "$cert" ] && echo ", signed,") in $dist:"
sed 's/^/  /' "$dist/SHA256SUMS"
