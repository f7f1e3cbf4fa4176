#!/usr/bin/env bash
# Builds everything twice (with AddressSanitizer and UBSan, then plain) and
# runs every test in both builds. Both builds run whatever the first one
# gives; the summary names each, and the script fails when either failed.

# Many tests start a simulated device of their own; on a machine loaded by
# everything else a device can miss a time-out now and then. A test gets a
# second run then, and fails the run only when it fails twice.
lmr_retry=(--repeat until-pass:2)

# CTest shows no output of a skipped test: list each with its reason, as
# GoogleTest printed it, from the run's log.
lmr_show_skips() {  # dir
    local log=$1/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    local skips
    skips=$(awk '
        /^\[ RUN      \] / { name = $4; want = 0; reason = "" }
        want == 1 { reason = $0; want = 0 }
        /: Skipped$/ { want = 1 }
        /^\[  SKIPPED \] / && name != "" { print "  " name ": " reason; name = "" }
    ' "$log" | sort -u)
    [ -n "$skips" ] || return 0
    echo "Skipped in $1:"
    echo "$skips"
}

lmr_build_and_test() {  # dir, extra cmake args...
    local dir=$1; shift
    local jobs status=0
    jobs=$(nproc)
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DLMR_WERROR=ON "$@" >/dev/null &&
        cmake --build "$dir" -j"$jobs" || return
    ctest --test-dir "$dir" -j"$jobs" "${lmr_retry[@]}" --output-on-failure || status=$?
    lmr_show_skips "$dir"
    return "$status"
}

# Runs the two builds, prints one line per build and returns 1 when either
# failed.
lmr_run_all() {
    local asan=0 plain=0
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        lmr_build_and_test build-asan -DLMR_SANITIZE=ON || asan=$?
    lmr_build_and_test build || plain=$?
    echo
    echo "Sanitizer build (build-asan): $([ "$asan" -eq 0 ] && echo passed || echo "FAILED ($asan)")"
    echo "Plain build (build): $([ "$plain" -eq 0 ] && echo passed || echo "FAILED ($plain)")"
    [ "$asan" -eq 0 ] && [ "$plain" -eq 0 ]
}

# Sourced (by the scripts' tests) it only defines the functions above.
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
lmr_install_deps
lmr_run_all
