#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the virtual instrument.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
q745_install_dependencies
q745_build build
exec build/bin/q745ctl device "$@"
