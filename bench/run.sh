#!/usr/bin/env bash
# Measures quorvella against its targets and prints one table: start-up and its memory against a
# bare Qt program, speech latency, reading a long lesson aloud, a 100,000-line word bank against
# grep, loading a long lesson, and the memory of automatic reading. Builds Release first and
# installs the Debian packages it needs. Each measure is the median of 12 runs after a warm-up;
# RUNS sets the runs of start-up and of grep.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${QUORVELLA_BUILD_PACKAGES[@]}" "${QUORVELLA_RUN_PACKAGES[@]}" \
    libbenchmark-dev xvfb
runs=${RUNS:-12}

cmake --preset default -DQUORVELLA_BENCHMARKS=ON >/dev/null
cmake --build --preset default
bin=build/release/bin

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-bench.XXXXXX")
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The large input: a bank of 100,000 lines, sorted by initial, each with a Chinese meaning.
meaning=$(printf 'n. 词义；释义' | iconv -f UTF-8 -t GBK)
awk -v meaning="$meaning" 'BEGIN {
    for (n = 0; n < 100000; n++)
        printf "%c%d@%s\r\n", 97 + int(n * 26 / 100000), 1000000 + n, meaning
}' >"$work/zsks.txt"
search=$(printf '释义' | iconv -f UTF-8 -t GBK)

# Rows of the table: measure, ours, the comparison, ratio, target, verdict.
rows=()
row() { rows+=("$1|$2|$3|$4|$5|$6"); }
verdict() { awk -v v="$1" -v max="$2" 'BEGIN { print (v <= max ? "pass" : "FAIL") }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The value of a column of Google Benchmark's CSV output, in the first row whose name starts
# with the given text and ends with the given end (the repetitions are named between them).
csv() {
    awk -F, -v start="\"$2" -v end="$3\"" -v column="$4" '
        NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); at[$i] = i }; next }
        index($1, start) == 1 && substr($1, length($1) - length(end) + 1) == end {
            printf "%.2f\n", $at[column]
            exit
        }' "$1"
}
bench() {
    local out=$1
    shift
    "$@" --benchmark_format=csv >"$out" 2>"$out.log" || {
        cat "$out.log" >&2
        exit 1
    }
}

# 1, 2: start-up to the first frame under X, alternating with the floor.
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin/startup_bench" "$runs" \
    "$PWD/build/release/bench/startup/first_frame_exit.so" \
    floor="$bin/startup_floor" quorvella="$bin/quorvella" >"$work/startup.txt"
field() { sed -n "s/^$1 .*$2=\([0-9.]*\).*/\1/p" "$work/startup.txt"; }
ours=$(field quorvella time_ms)
floor=$(field floor time_ms)
row "1 start-up to first frame (ms)" "$ours" "$floor (floor)" "$(ratio "$ours" "$floor")" \
    "≤ 1.25×" "$(verdict "$(ratio "$ours" "$floor")" 1.25)"
ours=$(field quorvella rss_kib)
floor=$(field floor rss_kib)
row "2 peak memory at first frame (MiB)" "$(awk -v k="$ours" 'BEGIN { printf "%.1f", k / 1024 }')" \
    "$(awk -v k="$floor" 'BEGIN { printf "%.1f", k / 1024 }') (floor)" \
    "$(ratio "$ours" "$floor")" "≤ 1.5×" "$(verdict "$(ratio "$ours" "$floor")" 1.5)"

# 3: one word to its first audio, and to its first audible sample.
# (Google Benchmark's CSV wants the same counters in every row of a run: two runs.)
bench "$work/speech.csv" "$bin/speech_bench" --benchmark_filter='wordToFirstAudio/'
value=$(csv "$work/speech.csv" wordToFirstAudio/flite_rms/ _median real_time)
row "3 word to first chunk, flite rms (ms)" "$value" "" "" "≤ 12" "$(verdict "$value" 12)"
value=$(csv "$work/speech.csv" wordToFirstAudio/espeak_en_us/ _median real_time)
row "3 word to first chunk, espeak-ng (ms)" "$value" "" "" "≤ 2" "$(verdict "$value" 2)"
bench "$work/audible.csv" "$bin/speech_bench" --benchmark_filter='wordToFirstAudibleSample'
value=$(csv "$work/audible.csv" wordToFirstAudibleSample/flite_rms/ manual_time median_ms)
row "3 word to first audible sample, flite rms (ms)" "$value" "" "" "≤ 30" \
    "$(verdict "$value" 30)"

# A word's mark against its first frame being played, on a real-time clock: the median of a
# paragraph's marks.
bench "$work/marks.csv" "$bin/word_marks_bench"
for synthesiser in flite espeak_ng; do
    value=$(csv "$work/marks.csv" "markLateness/$synthesiser/" manual_time median_ms)
    row "3 word mark behind its sound, $synthesiser (ms)" "$value" "" "" "≤ 50" \
        "$(verdict "$value" 50)"
done

# 4, 6: the lesson window on long lessons.
bench "$work/lesson.csv" "$bin/lesson_bench"
long=$(csv "$work/lesson.csv" readAllToFirstAudio/64/ _median real_time)
short=$(csv "$work/lesson.csv" readAllToFirstAudio/4/ _median real_time)
row "4 朗读全文 on 64 KB to first chunk (ms)" "$long" "$short (4 KB)" "$(ratio "$long" "$short")" \
    "≤ 25" "$(verdict "$long" 25)"
value=$(csv "$work/lesson.csv" loadLesson64k _median real_time)
row "6 loading a 64 KB lesson (ms)" "$value" "" "" "≤ 20" "$(verdict "$value" 20)"

# 5: the word bank of 100,000 lines, against grep -c over the same file.
QUORVELLA_BENCH_BANK="$work/zsks.txt" bench "$work/bank.csv" "$bin/word_bank_bench"
grep_ms() {
    local times=() i start
    for i in $(seq "$runs"); do
        start=$(date +%s%N)
        LC_ALL=C grep -c -F -e "$1" "$work/zsks.txt" >/dev/null
        times+=($((($(date +%s%N) - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'
}
value=$(csv "$work/bank.csv" listAToZOf100kLines _median real_time)
grep_all=$(grep_ms '@')
row "5 bank of 100,000 lines: list A–Z (ms)" "$value" "$grep_all (grep -c)" \
    "$(ratio "$value" "$grep_all")" "≤ 50" "$(verdict "$value" 50)"
value=$(csv "$work/bank.csv" search100kLines _median real_time)
grep_search=$(grep_ms "$search")
row "5 bank of 100,000 lines: search (ms)" "$value" "$grep_search (grep -c)" \
    "$(ratio "$value" "$grep_search")" "≤ 50" "$(verdict "$value" 50)"

# 7: automatic reading for 10,000 steps.
"$bin/reading_bench" >"$work/reading.txt"
growth=$(sed -n 's/.*growth_mib=\([-0-9.]*\).*/\1/p' "$work/reading.txt")
row "7 automatic reading, 10,000 steps: RSS growth (MiB)" "$growth" \
    "$(sed -n 's/.*rss_before_mib=\([0-9.]*\).*/\1/p' "$work/reading.txt") before" "" "≤ 1" \
    "$(verdict "$growth" 1)"

echo
printf '| %s | %s | %s | %s | %s | %s |\n' Measure Ours Comparison Ratio Target Result
printf '|---|---|---|---|---|---|\n'
failed=0
for r in "${rows[@]}"; do
    IFS='|' read -r measure ours other ratio target result <<<"$r"
    printf '| %s | %s | %s | %s | %s | %s |\n' "$measure" "$ours" "$other" "$ratio" "$target" \
        "$result"
    [ "$result" = pass ] || failed=1
done
echo
echo "Medians of $runs runs after a warm-up; start-up alternates with the floor in one run."
exit "$failed"
