# Sourced by the release tests written in shell: a scratch directory, one
# line per check, counted, and throwaway code-signing certificates. Sets
# PYTHON too (see find_python.sh).

# shellcheck source=find_python.sh
. "$(dirname "${BASH_SOURCE[0]}")/find_python.sh" || exit 2

passed=0
failed=0

# enter_scratch NAME: works in a new directory under ${TMPDIR:-/tmp}, which
# goes when the script ends.
enter_scratch() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-$1.XXXXXX") || exit 2
  trap 'rm -rf "$scratch"' EXIT
  cd "$scratch" || exit 2
}

# record LABEL COMMAND...: passes when the command succeeds; shows the end
# of its output when it does not.
record() {
  local label=$1
  shift
  if "$@" >"$scratch/last.log" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $label"
  else
    failed=$((failed + 1))
    echo "FAIL $label"
    sed 's/^/     /' "$scratch/last.log" | tail -n 15
  fi
}

fails() { ! "$@"; }

# make_certificate NAME [OPENSSL_OPTION...]: NAME.crt and NAME.key, like a
# real code-signing certificate (code signing only), valid for a day.
make_certificate() {
  local name=$1
  shift
  openssl req -x509 -newkey rsa:2048 -sha256 -days 1 -subj "/CN=$name" \
    -addext "keyUsage=critical,digitalSignature" \
    -addext "extendedKeyUsage=codeSigning" \
    -keyout "$name.key" -out "$name.crt" "$@" >/dev/null 2>&1
}

# verify EXE CERT: the Authenticode signature of EXE verifies against CERT.
verify() { osslsigncode verify -CAfile "$2" -in "$1"; }

# summary NAME: the closing line; the status is 1 when a check failed.
summary() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
