#!/usr/bin/env bash
# scripts/release.sh puts both builds, byte for byte, under one file name in
# a folder for each architecture, with a SHA256SUMS that matches them, signed
# when given a certificate; and the resource comparison it runs on them
# notices a single changed byte.
#
# Usage: tests/release/release_command.sh
# Builds the windows and windows-x86 presets in the work tree when needed
# (as the release does) and releases into a scratch directory.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
# shellcheck source=shell_checks.sh
. "$here/shell_checks.sh"
enter_scratch release

release() { "$repo/scripts/release.sh" -o "$@"; }

holds_exactly_the_release() {
  [ "$(cd "$1" && find . -type f | sort | tr '\n' ' ')" = \
    "./SHA256SUMS ./x64/OrvantaCtrl.exe ./x86/OrvantaCtrl.exe " ]
}

sums_match() { (cd "$1" && sha256sum --check --strict SHA256SUMS); }

# machine_of EXE: the PE header's machine, e.g. IMAGE_FILE_MACHINE_I386.
machine_of() {
  "$PYTHON" -c 'import sys, pefile
pe = pefile.PE(sys.argv[1], fast_load=True)
print(pefile.MACHINE_TYPE[pe.FILE_HEADER.Machine])' "$1"
}
is_machine() { [ "$(machine_of "$1")" = "$2" ]; }

# change_a_resource EXE OUT: a copy of EXE whose manifest has one byte changed.
change_a_resource() {
  "$PYTHON" - "$1" "$2" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
        data = kind.directory.entries[0].directory.entries[0].data.struct
        offset = pe.get_offset_from_rva(data.OffsetToData)
        pe.set_bytes_at_offset(offset, b"#")
pe.write(sys.argv[2])
PY
}

make_certificate signer -nodes || { echo "FAIL openssl could not make a certificate"; exit 1; }

record "makes an unsigned release" release unsigned
record "it holds x64/ and x86/OrvantaCtrl.exe and SHA256SUMS, nothing else" \
  holds_exactly_the_release unsigned
record "x64/ holds the windows preset's build, byte for byte" \
  cmp unsigned/x64/OrvantaCtrl.exe "$repo/build/windows/OrvantaCtrl.exe"
record "x86/ holds the windows-x86 preset's build, byte for byte" \
  cmp unsigned/x86/OrvantaCtrl.exe "$repo/build/windows-x86/OrvantaCtrl.exe"
record "x64/ is an x86-64 image" is_machine unsigned/x64/OrvantaCtrl.exe IMAGE_FILE_MACHINE_AMD64
record "x86/ is an x86 image" is_machine unsigned/x86/OrvantaCtrl.exe IMAGE_FILE_MACHINE_I386
record "SHA256SUMS matches the files" sums_match unsigned

record "makes a signed release given a certificate" release signed signer.crt signer.key
record "it holds x64/ and x86/OrvantaCtrl.exe and SHA256SUMS, nothing else" \
  holds_exactly_the_release signed
record "the x64 signature verifies" verify signed/x64/OrvantaCtrl.exe signer.crt
record "the x86 signature verifies" verify signed/x86/OrvantaCtrl.exe signer.crt
record "SHA256SUMS matches the signed files" sums_match signed

change_a_resource unsigned/x86/OrvantaCtrl.exe changed.exe
record "builds whose resources differ are refused" \
  fails "$PYTHON" "$here/same_resources.py" unsigned/x64/OrvantaCtrl.exe changed.exe

summary release-command
