#!/usr/bin/env bash
# Builds everything twice (plain, then with AddressSanitizer and UBSan) and
# runs every test in both builds. Ends with CTest's summary of the plain build.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
lmr_install_deps

jobs=$(nproc)
run_build() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DLMR_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

run_build build-asan -DLMR_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j"$jobs" --output-on-failure

run_build build
ctest --test-dir build -j"$jobs" --output-on-failure
