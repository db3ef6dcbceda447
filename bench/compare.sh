#!/usr/bin/env bash
# Sets the hot paths beside their peers and their targets. Runs the benchmark programs of a
# Release build round after round, each round every program once with the repetitions of its
# benchmarks in random order, so that a noisy machine slows both sides of a pair alike; then
# prints the median CPU time of each benchmark over all rounds, each ratio and whether its
# target is met. Exits 1 when a target is missed or a benchmark did not run.
#   bench/compare.sh [build-dir] [rounds]      (defaults: build-rel, 5)
set -euo pipefail
build_dir=${1:-build-rel}
rounds=${2:-5}
bin=$build_dir/bin
# muparser's bulk mode would start a thread per core; everything here runs on one.
export OMP_NUM_THREADS=1
results=$(mktemp)
trap 'rm -f "$results"' EXIT

# program filter: appends "name real-us cpu-us" for every repetition run.
run() {
    "$bin/$1" --benchmark_filter="$2" --benchmark_repetitions=3 \
        --benchmark_enable_random_interleaving=true --benchmark_min_time=0.2 \
        --benchmark_format=csv 2>/dev/null |
        awk -F, 'NR > 1 && $1 !~ /_(mean|median|stddev|cv)"$/ && $4 != "" {
            name = $1; gsub(/"/, "", name)
            scale = $5 == "ns" ? 0.001 : $5 == "ms" ? 1000 : $5 == "s" ? 1000000 : 1
            print name, $3 * scale, $4 * scale }' >>"$results"
}

for ((round = 1; round <= rounds; ++round)); do
    echo "round $round of $rounds" >&2
    run waves_bench '^(ComputeStatistics16384|FftwStatistics16384)'
    run generators_bench '^(EvaluateFormula|MuparserFormula)'
    run driver_bench '^(OctaveSet/1/|OctaveSetMemoryPass|WholeSetWaveForm/-1)'
    run import_bench '^periodSearch/'
done

# Median of each benchmark's column (2 real time, 3 CPU time), in microseconds.
medians=$(sort -k1,1 "$results" | awk '
    function flush() {
        if (n == 0) return
        for (c = 2; c <= 3; ++c) {
            for (i = 1; i <= n; ++i) w[i] = v[i, c]
            for (i = 2; i <= n; ++i)
                for (j = i; j > 1 && w[j - 1] > w[j]; --j) { t = w[j]; w[j] = w[j - 1]; w[j - 1] = t }
            m[c] = n % 2 ? w[(n + 1) / 2] : (w[n / 2] + w[n / 2 + 1]) / 2
        }
        print name, m[2], m[3]
    }
    $1 != name { flush(); name = $1; n = 0 }
    { ++n; v[n, 2] = $2; v[n, 3] = $3 }
    END { flush() }')

# cpu NAME / wall NAME: the median, or nothing when the benchmark did not run.
cpu() { awk -v name="$1" '$1 == name { print $3 }' <<<"$medians"; }
wall() { awk -v name="$1" '$1 == name { print $2 }' <<<"$medians"; }
# The largest of the medians of the benchmarks whose names match.
largest() { awk -v pattern="$1" '$1 ~ pattern && $3 > m { m = $3 } END { if (m) print m }' <<<"$medians"; }
smallest() { awk -v pattern="$1" '$1 ~ pattern && (m == "" || $3 < m) { m = $3 } END { print m }' <<<"$medians"; }

failed=0
# line TEXT VALUE LIMIT UNIT: prints the value against its limit and whether it is met.
line() {
    if [ -z "$2" ]; then
        printf '%-58s %12s\n' "$1" "did not run"
        failed=1
        return
    fi
    awk -v text="$1" -v value="$2" -v limit="$3" -v unit="$4" 'BEGIN {
        met = value <= limit ? "met" : "MISSED"
        printf "%-58s %12.3f %-3s target <= %-8g %s\n", text, value, unit, limit, met
        exit value <= limit ? 0 : 1 }' || failed=1
}
# info TEXT VALUE UNIT: a figure shown beside the targets.
info() {
    if [ -n "$2" ]; then
        awk -v text="$1" -v value="$2" -v unit="$3" \
            'BEGIN { printf "  %-56s %12.3f %s\n", text, value, unit }'
    fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "" && b != "") print a / b }'; }

statistics=$(cpu ComputeStatistics16384)
fftw=$(cpu FftwStatistics16384/1/0)
formula=$(cpu EvaluateFormulaEach16384Points)
muparser=$(smallest '^MuparserFormula16384Points/')
octave=$(largest '^OctaveSet/1/')
period=$(largest '^periodSearch/')
upload=WholeSetWaveForm/-1

echo "Medians of $rounds rounds (CPU time, one thread); load average $(cut -d' ' -f1-3 /proc/loadavg)"
line "computeStatistics / same routine on FFTW (estimate)" "$(ratio "$statistics" "$fftw")" 1 x
info "computeStatistics 16384 points" "$statistics" us
info "FFTW, complex transform as defined, FFTW_ESTIMATE" "$fftw" us
info "FFTW, complex transform, FFTW_MEASURE" "$(cpu FftwStatistics16384/1/1)" us
info "FFTW, real-input transform, FFTW_ESTIMATE" "$(cpu FftwStatistics16384/0/0)" us
info "FFTW, real-input transform, FFTW_MEASURE" "$(cpu FftwStatistics16384/0/1)" us
line "formula over 16384 points / muparser" "$(ratio "$formula" "$muparser")" 1 x
info "evaluateEach, 16384 points" "$formula" us
info "evaluate, point by point" "$(cpu EvaluateFormula16384Points)" us
info "muparser, point by point" "$(cpu MuparserFormula16384Points/0)" us
info "muparser, bulk mode" "$(cpu MuparserFormula16384Points/1)" us
line "octave set, step 1 (slower of sine and noise)" "$octave" 100 us
info "sine" "$(cpu OctaveSet/1/0)" us
info "noise" "$(cpu OctaveSet/1/1)" us
info "one pass over the 229376 bytes (floor)" "$(cpu OctaveSetMemoryPass)" us
line "period search, 35000 points, slowest record kind" "$(awk -v v="$period" 'BEGIN { if (v != "") print v / 1000 }')" 20 ms
line "whole SetWaveForm, CPU time" "$(awk -v v="$(cpu $upload)" 'BEGIN { if (v != "") print v / 1000 }')" 2 ms
info "whole SetWaveForm, wall time (waits of at least 12 ms)" "$(awk -v v="$(wall $upload)" 'BEGIN { if (v != "") print v / 1000 }')" ms
exit "$failed"
