# Sourced by the release tests: sets PYTHON to an interpreter that has pefile.
# A python3 earlier on PATH (pyenv, a venv) may lack Debian's python3-pefile,
# so Debian's own interpreter is tried after it.
if [ -z "${PYTHON:-}" ]; then
  for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import pefile' 2>/dev/null; then
      PYTHON=$candidate
      break
    fi
  done
fi
if [ -z "${PYTHON:-}" ]; then
  echo "no python3 with pefile found (Debian package python3-pefile)" >&2
  return 1
fi
export PYTHON
