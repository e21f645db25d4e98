#!/usr/bin/env bash
# Builds the native tree (link library, zkc-sim, zkc, native tests) into
# build/native, the 64-bit Windows tree (zkc-vandor.exe, zkc.exe,
# Windows-tier tests) into build/windows and the 32-bit one into
# build/windows32. A warning in our code fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
strict=-DZKC_WARNINGS_AS_ERRORS=ON
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo "$strict" >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/windows -DCMAKE_BUILD_TYPE=Release "$strict" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake >/dev/null
cmake --build build/windows -j "$jobs"
# The 32-bit programs cannot run on these machines; every source is still
# compiled for them, the tests included, and the release checks read what
# comes out.
cmake -S . -B build/windows32 -DCMAKE_BUILD_TYPE=Release "$strict" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686-posix.cmake >/dev/null
cmake --build build/windows32 -j "$jobs"
