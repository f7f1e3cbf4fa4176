#!/usr/bin/env bash
# Builds the module and its simulated access point, starts the simulator on
# 127.0.0.1 and opens the module against it. Without a display the window runs
# under Xvfb and a screenshot is written to demo-screenshot.png.
pids=()

# Starts the command in the background, waits LMR_DEMO_SECONDS and writes a
# screenshot of the display to the file. A module that has already ended (a
# crash at start) fails the demo with its exit status (1 if that was 0).
lmr_screenshot_of_running() {  # file, command...
    local shot=$1; shift
    "$@" &
    local app=$!
    pids+=($app)
    sleep "${LMR_DEMO_SECONDS:-4}"
    if ! kill -0 "$app" 2>/dev/null; then
        local status=0
        wait "$app" || status=$?
        echo "The module ended before the screenshot (exit status $status)" >&2
        [ "$status" -ne 0 ] || status=1
        return "$status"
    fi
    ${LMR_SCREENSHOT_COMMAND:-import -window root} "$shot"
    echo "Screenshot written to $shot"
}

# Sourced (by the scripts' tests) it only defines the function above.
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
lmr_install_deps

cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-demo -j"$(nproc)" --target lmr7300ap lmr_sim

exe=build-demo/app/lmr7300ap
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
    DISPLAY=$disp lmr_screenshot_of_running demo-screenshot.png "$exe" "${args[@]}"
fi
