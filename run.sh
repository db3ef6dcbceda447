#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program Q745 with the virtual instrument in
# the operator's data folder ($Q745_DATA_DIR, default ~/Q745). A new data folder is first given
# the files of a new installation (made by the build in build/defaults).
# Arguments are passed to the program ("debug" switches on the device call log).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
q745_install_dependencies
q745_build build

data=${Q745_DATA_DIR:-$HOME/Q745}
if [ ! -d "$data" ]; then
    mkdir -p "$data"
    cp build/defaults/* "$data/"
    echo "New data folder: $data"
fi

program=$PWD/build/bin/Q745
cd "$data"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: the program runs on a virtual X server (xvfb-run)."
    exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
