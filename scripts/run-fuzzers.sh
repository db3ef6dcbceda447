#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build, one after the other, for SECONDS each:
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
# Each target starts from its seeds (fuzz/corpus/NAME, read only) and its own working corpus in
# BUILD_DIR/corpus/NAME, with the dictionary fuzz/dict/NAME.dict. A finding (a crash, a
# sanitizer report, a violated property, a timeout, too much memory) is kept in
# BUILD_DIR/findings/NAME/; the script goes on with the other targets and fails at the end,
# naming every reproducer.
set -uo pipefail
build_dir=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

findings=()
for fuzzer in "$build_dir"/bin/*Fuzzer; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="$build_dir/corpus/$name"
    artifacts="$build_dir/findings/$name"
    log="$build_dir/findings/$name.log"
    mkdir -p "$corpus" "$artifacts"
    dictionary=()
    [ -f "$source_dir/fuzz/dict/$name.dict" ] && dictionary=(-dict="$source_dir/fuzz/dict/$name.dict")
    "$fuzzer" "${dictionary[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" "$source_dir/fuzz/corpus/$name" >"$log" 2>&1
    status=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    if [ $status -eq 0 ]; then
        echo "$name: ${runs:-?} runs in ${seconds} s, no finding"
    else
        reproducer=$(grep -o 'Test unit written to .*' "$log" | tail -1 | sed 's/Test unit written to //')
        echo "$name: FINDING after ${runs:-?} runs: ${reproducer:-see $log}" >&2
        grep -m 5 -E 'ERROR|runtime error|property violated|Timeout|out-of-memory' "$log" >&2
        findings+=("${reproducer:-$log}")
    fi
done

if [ ${#findings[@]} -ne 0 ]; then
    echo "Fuzzing found ${#findings[@]} fault(s); reproduce with the target and the file:" >&2
    printf '  %s\n' "${findings[@]}" >&2
    exit 1
fi
