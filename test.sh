#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
#   ./test.sh              the normal build in build/
#   ./test.sh --sanitize   AddressSanitizer and UndefinedBehaviorSanitizer build in build-asan/
#   ./test.sh --fuzz [SECONDS]
#                          the fuzz targets (clang, libFuzzer) built in build-fuzz/ and run one
#                          after the other for SECONDS each (default 30)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

build_dir=build
options=()
if [ "${1:-}" = "--fuzz" ]; then
    seconds=${2:-30}
    q745_install_dependencies
    CC=clang CXX=clang++ q745_build build-fuzz -DQ745_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec scripts/run-fuzzers.sh build-fuzz "$seconds"
fi
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    options=(-DQ745_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    # Whole allocation stacks (Qt's libraries have no frame pointers), so that a suppression
    # can name the Qt function behind a leak of Qt's own.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:fast_unwind_on_malloc=0
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

q745_install_dependencies
q745_build "$build_dir" "${options[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel 2 --timeout 600
