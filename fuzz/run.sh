#!/usr/bin/env bash
# Runs each built fuzz target for a while and prints the runs per target.
# Usage: fuzz/run.sh BUILD_DIR SECONDS RUNS PARALLEL TARGET...
# New inputs go to BUILD_DIR/corpus/<target> and crash reproducers to
# BUILD_DIR/artifacts/, so the committed seed corpus stays as it is.
set -uo pipefail

build=$1 seconds=$2 runs=$3 parallel=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/artifacts" "$build/logs"

run_one() {
    local target=$1
    mkdir -p "$build/corpus/$target"
    "$build/fuzz/fuzz_$target" "$build/corpus/$target" "$here/corpus/$target" \
        -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" >"$build/logs/$target.log" 2>&1
    echo $? >"$build/logs/$target.status"
}
export -f run_one
export build seconds runs here

printf '%s\n' "$@" | xargs -P "$parallel" -I{} bash -c 'run_one {}'

status=0
printf '%-16s %12s %8s  %s\n' target runs seconds result
for target in "$@"; do
    log=$build/logs/$target.log
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    result=ok
    if [ "$(cat "$build/logs/$target.status")" != 0 ]; then
        result="FAILED, see $log"
        status=1
    fi
    printf '%-16s %12s %8s  %s\n' "$target" "${executed:-?}" "${took:-?}" "$result"
done
exit $status
