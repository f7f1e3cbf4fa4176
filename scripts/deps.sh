# Sourced by the two set-up commands: installs the Debian packages the module,
# its simulator and its tests need, when any is missing.
LMR_PACKAGES="build-essential cmake pkg-config git libgtest-dev libgmock-dev googletest
  libbenchmark-dev qt6-base-dev libsnmp-dev snmpd snmp libssl-dev libjpeg62-turbo-dev
  curl tftp-hpa tftpd-hpa xvfb xauth imagemagick fonts-dejavu-core iproute2"

lmr_install_deps() {
    local missing=""
    for p in $LMR_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        # Keep package scripts from starting system services (snmpd, tftpd).
        if [ ! -e /usr/sbin/policy-rc.d ]; then
            printf '#!/bin/sh\nexit 101\n' | $sudo tee /usr/sbin/policy-rc.d >/dev/null
            $sudo chmod +x /usr/sbin/policy-rc.d
            LMR_REMOVE_POLICY=1
        fi
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
        if [ -n "${LMR_REMOVE_POLICY:-}" ]; then $sudo rm -f /usr/sbin/policy-rc.d; fi
    fi
}
