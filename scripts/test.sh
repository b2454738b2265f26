#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh                 normal build in build/
#   BRISMA_SANITIZE=ON scripts/test.sh   AddressSanitizer + UBSan build in build-asan/
# BRISMA_WERROR=ON turns warnings into errors (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

sanitize=${BRISMA_SANITIZE:-OFF}
werror=${BRISMA_WERROR:-OFF}
build=${BRISMA_BUILD_DIR:-build}
if [ "$sanitize" = ON ] && [ -z "${BRISMA_BUILD_DIR:-}" ]; then
    build=build-asan
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRISMA_WERROR="$werror" -DBRISMA_SANITIZE="$sanitize" \
    -DBRISMA_BENCH=$([ "$sanitize" = ON ] && echo OFF || echo ON)
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
