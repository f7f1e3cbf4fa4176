#!/usr/bin/env bash
# Starts the simulated access point in the foreground on 127.0.0.1:
#   sim/run-sim.sh --port N [--build BUILD_DIR] [lmr_sim options...]
# BUILD_DIR defaults to ./build; other options go to lmr_sim (see its usage).
set -euo pipefail
build=build
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
exe="$build/sim/lmr_sim"
if [ ! -x "$exe" ]; then
    echo "run-sim.sh: $exe not found; build the project first" >&2
    exit 1
fi
exec "$exe" "${args[@]}"
