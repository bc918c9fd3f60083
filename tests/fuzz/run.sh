#!/usr/bin/env bash
# Runs each fuzzing harness for a set time from the seed corpus (and the
# inputs that once failed), one after the other, and prints what each tried:
# executions, coverage (edges, features), corpus size, and any failure.
# usage: run.sh BUILD_DIR SECONDS HARNESS...
# With FUZZ_RUNS set, each harness stops after that many inputs too (or at
# once the time is up, if SECONDS is not 0). With FUZZ_SEED the inputs come
# in the same order on every machine: a slower machine tries the first ones
# of the same sequence, never others. A harness's own limits (HARNESS.options
# beside this script: libFuzzer flags on one line) come after the common ones
# and take their place.
set -uo pipefail
build=$1 seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
export LUMIKO_PINYIN="$here/../../data/pinyin.txt"
report="$build/fuzz-report.txt"
failed=()
rows=()
for h in "$@"; do
    work="$build/corpus/$h"
    crashes="$build/crashes"
    mkdir -p "$work" "$crashes"
    dirs=("$work" "$here/corpus/$h")
    [ -d "$here/regressions/$h" ] && dirs+=("$here/regressions/$h")
    log="$build/fuzz-$h.log"
    limit=() span= shown=- own=()
    [ -f "$here/$h.options" ] && read -ra own < "$here/$h.options"
    if [ "$seconds" != 0 ]; then limit+=(-max_total_time="$seconds"); span="${seconds}s"; shown=$span; fi
    if [ -n "${FUZZ_RUNS:-}" ]; then limit+=(-runs="$FUZZ_RUNS"); span="${span:+$span or }$FUZZ_RUNS runs"; fi
    echo "== $h: $span"
    "$build/fuzz_$h" "${limit[@]}" -timeout=20 -max_len=20000 -print_final_stats=1 ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
        "${own[@]}" -artifact_prefix="$crashes/$h-" "${dirs[@]}" > "$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<< "$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<< "$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<< "$last")
    verdict=ok
    if [ $status -ne 0 ]; then
        verdict="FAILED (see $log; the input is in $crashes/: copy it to tests/fuzz/regressions/$h/)"
        failed+=("$h")
        tail -40 "$log"
    fi
    rows+=("$(printf '%-10s %7s %12s %7s %7s %7s  %s' "$h" "$shown" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$verdict")")
done
{
    printf '%-10s %7s %12s %7s %7s %7s  %s\n' harness time executions cov ft corpus result
    printf '%s\n' "${rows[@]}"
} | tee "$report"
[ ${#failed[@]} -eq 0 ] || { echo "fuzzing found faults in: ${failed[*]}"; exit 1; }
