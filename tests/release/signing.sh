#!/usr/bin/env bash
# scripts/sign.sh gives the executable an Authenticode signature that
# verifies against the signing certificate, breaks when the file is changed,
# and leaves every hardening property of the executable intact.
#
# Usage: tests/release/signing.sh EXE
# Makes a throwaway self-signed code-signing certificate at test time.
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 EXE" >&2
  exit 2
fi
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
# shellcheck source=shell_checks.sh
. "$here/shell_checks.sh"
enter_scratch signing

tamper() {
  cp "$1" "$2"
  # One byte inside the code, well past the headers.
  printf '\xcc' | dd of="$2" bs=1 seek=4096 conv=notrunc status=none
}

make_certificate signer -nodes || { echo "FAIL openssl could not make a certificate"; exit 1; }
make_certificate stranger -nodes || exit 1
make_certificate locked -passout pass:correct-horse || exit 1

record "signs with a plain key" "$repo/scripts/sign.sh" "$exe" signed.exe signer.crt signer.key
record "the signature verifies against the signing certificate" verify signed.exe signer.crt
record "the signed file still passes every hardening check" \
  "$PYTHON" "$here/check_hardening.py" signed.exe
record "the signature does not verify against another certificate" \
  fails verify signed.exe stranger.crt
tamper signed.exe tampered.exe
record "a changed byte breaks the signature" fails verify tampered.exe signer.crt
record "the unsigned input is left unsigned" fails verify "$exe" signer.crt
record "signs with an encrypted key given its passphrase" \
  env SIGN_KEY_PASSWORD=correct-horse "$repo/scripts/sign.sh" "$exe" locked.exe locked.crt locked.key
record "the encrypted key's signature verifies" verify locked.exe locked.crt
# Without a terminal, where OpenSSL would ask for the passphrase.
record "refuses an encrypted key without its passphrase" \
  fails setsid -w env -u SIGN_KEY_PASSWORD "$repo/scripts/sign.sh" "$exe" nopass.exe locked.crt locked.key </dev/null

summary signing
