#!/usr/bin/env bash
# Runs the fuzz targets of a build for a fixed time each, two at a time, from the seeds in
# fuzz/corpus/<target> (with the dictionary fuzz/<target>.dict where there is one). What they find is kept in a scratch folder, never in the seeds. Fails
# when any target reports a crash, a leak, a timeout or a sanitizer's finding.
#
#   fuzz/run_fuzzers.sh BUILD_DIR SECONDS [TARGET...]     (targets by name: tedstr, rtf, ...)
#
# SECONDS 0 replays the seeds once each (-runs=0), the quick check that ./test.sh runs: no seed
# crashes, leaks or trips a sanitizer.
#
# QUORVELLA_FUZZ_JOBS sets how many run at once (2); QUORVELLA_FUZZ_WORK keeps the corpora,
# logs and findings in that folder instead of a scratch folder removed at the end.
set -uo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2
    exit 2
fi
build=$1
seconds=$2
shift 2
if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(ls fuzz/corpus)
fi
jobs=${QUORVELLA_FUZZ_JOBS:-2}

if [ -n "${QUORVELLA_FUZZ_WORK:-}" ]; then
    work=$QUORVELLA_FUZZ_WORK
    mkdir -p "$work"
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-fuzz.XXXXXX")
    trap 'rm -rf "$work"' EXIT
fi

# run_target NAME: one target for the time given; its log in $work/NAME/log.
run_target() {
    local name=$1 dir="$work/$1" dictionary=()
    mkdir -p "$dir/corpus"
    if [ -f "fuzz/$name.dict" ]; then
        dictionary=(-dict="fuzz/$name.dict")
    fi
    local length=(-max_total_time="$seconds") corpora=("$dir/corpus" "fuzz/corpus/$name")
    if [ "$seconds" = 0 ]; then
        length=(-runs=0)
        corpora=("fuzz/corpus/$name")
    fi
    # Leaks are checked after each input; a single input may take at most 25 s even on a
    # machine that is busy with other work.
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" UBSAN_OPTIONS="print_stacktrace=1" \
        nice "$build/bin/${name}_fuzzer" "${length[@]}" -timeout=25 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/" "${dictionary[@]}" \
        "${corpora[@]}" >"$dir/log" 2>&1
}

status=0
running=()
# finish NAME: reports a target that has ended, from its log and its exit status.
finish() {
    local name=$1 result
    result=$(cat "$work/$name/status")
    local summary
    summary=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/$name/log" | tail -1)
    if [ "$result" -ne 0 ]; then
        status=1
        echo "FAILED $name (exit status $result); the end of its log:" >&2
        tail -40 "$work/$name/log" >&2
        ls "$work/$name" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' | sed 's/^/  finding: /' >&2
    else
        echo "ok     $name: ${summary:-no summary}"
    fi
}
# reap: reports the targets that have ended and keeps the others in running.
reap() {
    local still=() name
    for name in "${running[@]}"; do
        if [ -f "$work/$name/status" ]; then
            finish "$name"
        else
            still+=("$name")
        fi
    done
    running=("${still[@]}")
}

for name in "${targets[@]}"; do
    if [ ! -x "$build/bin/${name}_fuzzer" ]; then
        echo "FAILED $name: $build/bin/${name}_fuzzer is not built" >&2
        status=1
        continue
    fi
    while [ ${#running[@]} -ge "$jobs" ]; do
        wait -n || true
        reap
    done
    rm -f "$work/$name/status"
    (
        result=0
        run_target "$name" || result=$?
        echo "$result" >"$work/$name/status"
    ) &
    running+=("$name")
done
wait
reap
exit "$status"
