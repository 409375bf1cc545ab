#!/usr/bin/env bash
# Signs the executable with Authenticode (SHA-256) from Linux, so Windows and
# the UAC prompt name its publisher instead of "Unknown".
#
# Usage: scripts/sign.sh IN OUT CERT KEY
#   IN    the built executable, e.g. build/windows/OrvantaCtrl.exe
#   OUT   the signed copy to write (replaced if it exists; IN is left as is)
#   CERT  the code-signing certificate, PEM or DER; append the intermediate
#         certificates to a PEM file so the whole chain travels in the file
#   KEY   its private key, PEM or DER
# Environment (both optional):
#   SIGN_KEY_PASSWORD   passphrase of an encrypted KEY (passed on stdin, never
#                       on a command line)
#   SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping server, so the signature
#                       stays valid after CERT expires; off by default since
#                       it needs the network
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 IN OUT CERT KEY" >&2
  exit 2
fi
in=$1 out=$2 cert=$3 key=$4

for file in "$in" "$cert" "$key"; do
  [ -r "$file" ] || { echo "$0: cannot read $file" >&2; exit 2; }
done
if [ "$(realpath -m "$in")" = "$(realpath -m "$out")" ]; then
  echo "$0: OUT must differ from IN" >&2
  exit 2
fi
command -v osslsigncode >/dev/null || {
  echo "$0: osslsigncode is missing (Debian package osslsigncode)" >&2
  exit 2
}

arguments=(sign -h sha256 -n OrvantaCtrl -certs "$cert" -key "$key" -in "$in")
if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
  arguments+=(-ts "$SIGN_TIMESTAMP_URL")
fi

# osslsigncode will not overwrite a file: sign into a fresh one beside OUT.
partial=$(mktemp "$(dirname "$out")/.sign.XXXXXX")
trap 'rm -f "$partial"' EXIT
rm -f "$partial"
if [ -n "${SIGN_KEY_PASSWORD:-}" ]; then
  printf '%s' "$SIGN_KEY_PASSWORD" |
    osslsigncode "${arguments[@]}" -readpass - -out "$partial" >/dev/null
else
  osslsigncode "${arguments[@]}" -out "$partial" >/dev/null
fi
chmod 755 "$partial"
mv -f "$partial" "$out"
echo "signed: $out"
