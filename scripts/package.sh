#!/usr/bin/env bash
# Builds both packages into build/dist/:
#   zkc-vandor_1.0.0.1_amd64.deb       zkc and zkc-sim in /usr/bin with their
#       man pages, the 64-bit panel in /usr/share/zkc-vandor and the
#       zkc-vandor launcher that opens it under Wine;
#   zkc-vandor-1.0.0.1-windows.zip     x64/ and x86/zkc-vandor.exe, zkc.exe,
#       README.txt.
# The Linux programs are built in build/package-native with Debian's
# hardening flags; the Windows programs are those of build/windows and
# build/windows32 (only the shipped targets are built here).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
quiet() { "$@" >/dev/null; }
quiet cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake
quiet cmake -S . -B build/windows32 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686-posix.cmake
quiet cmake --build build/windows -j "$jobs" --target zkc-vandor zkc
quiet cmake --build build/windows32 -j "$jobs" --target zkc-vandor

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
quiet cmake -S . -B build/package-native -DCMAKE_BUILD_TYPE=Release -DZKC_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DZKC_WINDOWS_PROGRAM="$PWD/build/windows/zkc-vandor.exe"
quiet cmake --build build/package-native -j "$jobs"

rm -f build/dist/zkc-vandor_*.deb build/dist/zkc-vandor-*-windows.zip
(cd build/package-native && quiet cpack -G DEB)
quiet cmake -S . -B build/windows -DZKC_WINDOWS32_PROGRAM="$PWD/build/windows32/zkc-vandor.exe"
(cd build/windows && quiet cpack -G ZIP)
ls -l build/dist/zkc-vandor_1.0.0.1_amd64.deb build/dist/zkc-vandor-1.0.0.1-windows.zip
