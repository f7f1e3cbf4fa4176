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

exe=$PWD/build-demo/app/lmr7300ap
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

args=()
if [ -x sim/run-sim.sh ]; then
    port=${LMR_SIM_PORT:-16161}
    state=$(mktemp -d "${TMPDIR:-/tmp}/lmr-demo.XXXXXX")
    cleanup() {
        for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
        rm -rf "$state"
    }
    sim/run-sim.sh --port "$port" --build build-demo >"$state/sim.out" 2>&1 &
    pids+=($!)
    # The window reads its first answers at once: wait until the agent answers.
    for _ in $(seq 1 150); do
        grep -q "lmr-sim ready" "$state/sim.out" 2>/dev/null && break
        sleep 0.2
    done
    grep -q "lmr-sim ready" "$state/sim.out" || { cat "$state/sim.out" >&2; exit 1; }
    # The platform's registry names the configuration folder, whose per-device
    # file gives the agent port; it is read for every parameter after "/I".
    mkdir -p "$state/conf"
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\nPath=%s/\n' \
        "$state/conf" >"$state/registry.ini"
    printf '[Program Information]\nAgentPort=%s\nVersion=0\n' "$port" >"$state/conf/127.0.0.1.cfg"
    export LMR_REGISTRY_FILE=$state/registry.ini
    args=("/I127.0.0.1" "/Rtarnok" "/Wquembel")
fi
# The module keeps its SNMPv3 boots counter in the current folder.
rundir=${state:-$PWD}

if [ -n "${DISPLAY:-}" ]; then
    env -C "$rundir" "$exe" "${args[@]}"
else
    disp=:$(( 90 + RANDOM % 9 ))
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    DISPLAY=$disp lmr_screenshot_of_running demo-screenshot.png env -C "$rundir" "$exe" "${args[@]}"
fi
