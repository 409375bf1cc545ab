#!/usr/bin/env bash
# Two clean builds of each Windows preset (64-bit and 32-bit), from checkouts
# at different paths, started at different times and in different time zones,
# give byte-identical executables: anyone can rebuild a shipped file from its
# source and compare.
#
# Usage: tests/release/reproducible.sh
# Copies the work tree's files that git tracks or would track (not ignored
# build output) twice under ${TMPDIR:-/tmp}, builds OrvantaCtrl with both
# presets in each, and compares. Exits non-zero when the executables differ
# or a build fails.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-repro.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Copies the work tree's files that are not ignored to $1, new ones included,
# so the check also holds for work not committed yet; a tracked file deleted
# in the work tree is left out, as a build from this tree would not see it.
copy_tracked_tree() {
  local destination=$1
  mkdir -p "$destination"
  (cd "$repo" && git ls-files -z --cached --others --exclude-standard) | while IFS= read -r -d '' file; do
    [ -e "$repo/$file" ] || continue
    mkdir -p "$destination/$(dirname "$file")"
    cp -p "$repo/$file" "$destination/$file"
  done
}

presets=(windows windows-x86)

# Builds the executables in checkout $1 with time zone $2; the log goes beside it.
build_checkout() {
  local checkout=$1 zone=$2
  (
    cd "$checkout"
    export TZ=$zone
    for preset in "${presets[@]}"; do
      cmake --preset "$preset" >>"$checkout.log" 2>&1 &&
        cmake --build --preset "$preset" --target OrvantaCtrl -j2 >>"$checkout.log" 2>&1 ||
        exit 1
    done
  ) || {
    echo "build in $checkout failed; its log ends:"
    tail -n 20 "$checkout.log"
    return 1
  }
}

first=$scratch/a/OrvantaCtrl
second=$scratch/a-much-longer-directory-name/nested/OrvantaCtrl
copy_tracked_tree "$first"
copy_tracked_tree "$second"

status=0
build_checkout "$first" UTC || status=1
sleep 2
build_checkout "$second" Asia/Seoul || status=1

# Compares the two builds of one preset; says how they differ when they do.
compare() {
  local preset=$1
  local first_exe=$first/build/$preset/OrvantaCtrl.exe
  local second_exe=$second/build/$preset/OrvantaCtrl.exe
  if cmp -s "$first_exe" "$second_exe"; then
    echo "ok   $preset: two builds from different paths and times are identical ($(stat -c %s "$first_exe") bytes, sha256 $(sha256sum "$first_exe" | cut -c1-16)...)"
    return 0
  fi
  local differences
  differences=$(cmp -l "$first_exe" "$second_exe" || true)
  echo "FAIL $preset: the two builds differ in $(wc -l <<<"$differences") bytes; first offsets (1-based, octal bytes):"
  head -n 8 <<<"$differences"
  echo "header and section differences:"
  diff <(x86_64-w64-mingw32-objdump -x "$first_exe" | grep -v 'file format') \
    <(x86_64-w64-mingw32-objdump -x "$second_exe" | grep -v 'file format') | head -n 20 || true
  if command -v diffoscope >/dev/null; then
    echo "for a full comparison, keep both trees and run: diffoscope A.exe B.exe"
  fi
  return 1
}

passed=0
failed=0
if [ "$status" -eq 0 ]; then
  for preset in "${presets[@]}"; do
    if compare "$preset"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
  done
else
  failed=${#presets[@]}
fi
echo "reproducible: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
