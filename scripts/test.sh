#!/usr/bin/env bash
# Builds everything twice (plain, then with AddressSanitizer and UBSan) and
# runs every test in both builds. Ends with CTest's summary of the plain build.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
lmr_install_deps

jobs=$(nproc)
# Many tests start a simulated device of their own; on a machine loaded by
# everything else a device can miss a time-out now and then. A test gets a
# second run then, and fails the run only when it fails twice.
retry=(--repeat until-pass:2)
run_build() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DLMR_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

run_build build-asan -DLMR_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j"$jobs" "${retry[@]}" --output-on-failure

run_build build
ctest --test-dir build -j"$jobs" "${retry[@]}" --output-on-failure
