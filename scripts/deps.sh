# Sourced by the two set-up commands: installs the Debian packages the module,
# its simulator and its tests need, when any is missing.
LMR_PACKAGES="build-essential cmake pkg-config git libgtest-dev libgmock-dev googletest
  libbenchmark-dev qt6-base-dev libsnmp-dev snmpd snmp libssl-dev libjpeg62-turbo-dev
  curl tftp-hpa tftpd-hpa xvfb xauth imagemagick fonts-dejavu-core iproute2"

# The file that keeps package scripts from starting services; tests point it
# elsewhere.
LMR_POLICY_RC=${LMR_POLICY_RC:-/usr/sbin/policy-rc.d}

# Removes the policy file, but only when this script made it.
lmr_remove_policy() {
    if [ -n "${LMR_REMOVE_POLICY:-}" ]; then
        $LMR_SUDO rm -f "$LMR_POLICY_RC"
        LMR_REMOVE_POLICY=
    fi
}

lmr_install_deps() {
    local missing=""
    for p in $LMR_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    LMR_SUDO=""
    [ "$(id -u)" -ne 0 ] && LMR_SUDO="sudo"
    # Left behind, the policy file would keep every later package on this
    # machine from starting its service: remove it however this ends.
    local saved_traps
    saved_traps=$(trap -p EXIT INT TERM HUP)
    trap 'lmr_remove_policy' EXIT
    trap 'lmr_remove_policy; trap - INT; kill -INT $$' INT
    trap 'lmr_remove_policy; trap - TERM; kill -TERM $$' TERM
    trap 'lmr_remove_policy; trap - HUP; kill -HUP $$' HUP
    # Keep package scripts from starting system services (snmpd, tftpd). A
    # policy file that was there already is left alone; noclobber makes the
    # check and the creation one step.
    if [ ! -e "$LMR_POLICY_RC" ] &&
        printf '#!/bin/sh\nexit 101\n' | $LMR_SUDO sh -c 'set -C; cat > "$1"' sh "$LMR_POLICY_RC" 2>/dev/null; then
        LMR_REMOVE_POLICY=1
        $LMR_SUDO chmod +x "$LMR_POLICY_RC"
    fi
    $LMR_SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $LMR_SUDO apt-get install -y -qq --no-install-recommends $missing
    lmr_remove_policy
    trap - EXIT INT TERM HUP
    eval "$saved_traps"
}
