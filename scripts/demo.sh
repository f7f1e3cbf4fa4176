#!/usr/bin/env bash
# Builds the module and its simulated access point, starts the simulator on
# 127.0.0.1 and opens the module against it. Without a display the window runs
# under Xvfb and a screenshot is written to demo-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
lmr_install_deps

cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-demo -j"$(nproc)" --target lmr7300ap lmr_sim

exe=build-demo/app/lmr7300ap
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

args=()
if [ -x sim/run-sim.sh ]; then
    port=${LMR_SIM_PORT:-16161}
    sim/run-sim.sh --port "$port" --build build-demo &
    pids+=($!)
    # The main window finds the agent port in the per-device file; until then
    # the module is given the address only.
    args=("/I127.0.0.1")
fi

if [ -n "${DISPLAY:-}" ]; then
    "$exe" "${args[@]}"
else
    disp=:$(( 90 + RANDOM % 9 ))
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    DISPLAY=$disp "$exe" "${args[@]}" &
    app=$!
    pids+=($app)
    sleep "${LMR_DEMO_SECONDS:-4}"
    DISPLAY=$disp import -window root demo-screenshot.png
    echo "Screenshot written to demo-screenshot.png"
fi
