#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine: installs what is missing, builds, then
#   ./setup.sh run   starts the program
#   ./setup.sh test  passes every test, once normally and once under ASan + UBSan
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev
          libgl-dev xvfb xauth)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
}

case "${1:-}" in
run)
    install_missing
    build default
    exec build/default/cli/tavlo-cli --help
    ;;
test)
    install_missing
    build default
    ctest --preset default
    build sanitize
    ctest --preset sanitize
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
