#!/usr/bin/env bash
# Sourced by run.sh and test.sh: installs what the project needs on Debian 12 (only what is
# missing), then configures and builds into the folder given as $1 with the extra CMake options
# that follow.
set -euo pipefail

q745_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libfftw3-dev libmuparser-dev
    libcups2-dev
    libcli11-dev nlohmann-json3-dev
    clang libclang-rt-14-dev
    xvfb xauth fonts-dejavu-core
    openbox xdotool wmctrl x11-utils imagemagick
    gtkwave
    locales
)

q745_install_dependencies() {
    local missing=()
    for package in "${q745_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if [ ${#missing[@]} -ne 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        "${sudo[@]}" apt-get update -q
        "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    # The number-text tests run once under a locale whose decimal separator is a comma.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "de_DE.UTF-8 not available"
    fi
}

q745_build() {
    local build_dir=$1
    shift
    local generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S . -B "$build_dir" "${generator[@]}" "$@"
    else
        cmake -S . -B "$build_dir" "$@" >/dev/null
    fi
    cmake --build "$build_dir" --parallel 2
}
