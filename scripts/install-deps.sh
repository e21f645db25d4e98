#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the toolchain this machine
# lacks: native and mingw-w64 (64-bit and 32-bit) compilers, clang with
# libFuzzer, GoogleTest, Wine, Xvfb, imagemagick, and what the packages
# are made and checked with (dpkg-dev, lintian, help2man). Never wine32: these
# machines cannot run 32-bit code, and with it installed Debian's wine
# starts no program at all.
set -euo pipefail

packages=(g++ cmake make libgtest-dev googletest clang libclang-rt-14-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine64 fonts-wine xvfb xauth imagemagick x11-utils procps
          dpkg-dev lintian help2man man-db unzip)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
