#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing, so a second run on a ready machine takes a moment.
set -euo pipefail

packages=(
  cmake g++ make python3 googletest
  g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 mingw-w64-tools
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  wine wine64 xvfb xauth xdotool imagemagick fonts-nanum
  python3-pefile osslsigncode openssl locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
  "${missing[@]}" >/dev/null
