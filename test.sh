#!/usr/bin/env bash
# Builds quorvella with warnings as errors and runs every test headless, after checking that the
# C++ sources are formatted, then runs each fuzz target for a short time. Installs the Debian
# packages it needs first.
#
#   ./test.sh                   the tests and the fuzz targets
#   ./test.sh --sanitize        also every test under the presets asan and ubsan
#   ./test.sh --sanitize-logic  also the tests of the logic libraries under the preset asan
set -euo pipefail
cd "$(dirname "$0")"

sanitize=""
for argument in "$@"; do
    case "$argument" in
    --sanitize) sanitize=all ;;
    --sanitize-logic) [ "$sanitize" = all ] || sanitize=logic ;;
    *)
        echo "usage: $0 [--sanitize | --sanitize-logic]" >&2
        exit 2
        ;;
    esac
done
source scripts/packages.sh
ensure_packages "${QUORVELLA_BUILD_PACKAGES[@]}" "${QUORVELLA_RUN_PACKAGES[@]}" \
    "${QUORVELLA_TEST_PACKAGES[@]}"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t sources < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ ${#sources[@]} -gt 0 ] && ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "Some C++ files are not formatted; run: clang-format -i <file>" >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
cmake --preset debug >/dev/null
cmake --build --preset debug

# A private PulseAudio server with a null sink "quorvella_test", so that the audio tests can record
# what the engine plays from the sink's monitor. It runs as whoever runs the tests (root too, not
# as a system server), with its own runtime folder and an anonymous socket there, and is stopped
# when this script ends, however it ends. If it cannot start, the audio tests skip.
pulse_dir=""
pulse_pid=""
stop_sound_server() {
    if [ -n "$pulse_pid" ]; then
        kill "$pulse_pid" 2>/dev/null || true
        wait "$pulse_pid" 2>/dev/null || true
    fi
    if [ -n "$pulse_dir" ]; then
        rm -rf "$pulse_dir"
    fi
}
trap stop_sound_server EXIT
start_sound_server() {
    if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v pactl >/dev/null 2>&1; then
        echo "PulseAudio is not installed: the audio tests skip" >&2
        return 0
    fi
    pulse_dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-pulse.XXXXXX")
    HOME="$pulse_dir" XDG_CONFIG_HOME="$pulse_dir" XDG_RUNTIME_DIR="$pulse_dir" \
        PULSE_RUNTIME_PATH="$pulse_dir" \
        pulseaudio --system=false --daemonize=no --exit-idle-time=-1 --use-pid-file=no -n \
        --load="module-native-protocol-unix socket=$pulse_dir/native auth-anonymous=1" \
        --load="module-null-sink sink_name=quorvella_test rate=48000" \
        >"$pulse_dir/log" 2>&1 &
    pulse_pid=$!
    local tries
    for tries in $(seq 50); do
        if PULSE_SERVER="unix:$pulse_dir/native" pactl info >/dev/null 2>&1; then
            export PULSE_SERVER="unix:$pulse_dir/native"
            return 0
        fi
        kill -0 "$pulse_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "PulseAudio did not start: the audio tests skip. Its log:" >&2
    cat "$pulse_dir/log" >&2
    stop_sound_server
    pulse_pid=""
    pulse_dir=""
}
start_sound_server

# The audio tests record the sink's monitor, so they run after the others, one at a time, with
# nothing else playing.
status=0
ctest --preset debug -j "$(nproc)" -E '^DeviceAudio' || status=$?
ctest --preset debug -R '^DeviceAudio' || status=$?

# The fuzz targets (clang with libFuzzer, ASan and UBSan), each for 15 s from its seeds.
if command -v clang++ >/dev/null 2>&1; then
    if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz; then
        fuzz/run_fuzzers.sh build/fuzz 15 || status=$?
    else
        status=1
    fi
else
    echo "clang++ is not installed: the fuzz targets are not run" >&2
fi

# The tests that need no window, of the logic libraries: core, speech, richtext, lessons,
# vocabulary and mocktest, by their suites.
logic_targets=(core_tests speech_tests richtext_tests lessons_tests vocabulary_tests mocktest_tests)
logic_suites='CharacterWalk|Find|Lowering|Trimming|DataFolder|DecodedText|GbkCodec|LineReaders'
logic_suites+='|ErrorBox|Splite|PcmQueue|ReadingSettings|SilenceTrimmer|SpeechText|SpinField'
logic_suites+='|LocalSpeechEngine|SynthesisWorker|Voices/EachSynthesiser|LessonCounts'
logic_suites+='|LessonStudyTest|ReadAloudController|Tedstr|TextSearch|TextTools|WordFollower'
logic_suites+='|DictationTest|NewWordStudyTest|WordBankBrowserTest|WordGroupsTest|MoveSelection'
logic_suites+='|WordListObserver|WordRecord|QuestionRecordOfALine|TakingATest|Drawing'
logic_suites+='|QuestionBankGroups|HtmlPageText|PaneContent|RtfReader|LineWrapping'

# run_sanitized PRESET: builds the preset and runs its tests as the debug ones ran.
run_sanitized() {
    local preset=$1
    cmake --preset "$preset" >/dev/null || return 1
    if [ "$sanitize" = logic ]; then
        cmake --build --preset "$preset" --target "${logic_targets[@]}" || return 1
        ctest --preset "$preset" -j "$(nproc)" -R "^($logic_suites)\\." || return 1
        return 0
    fi
    cmake --build --preset "$preset" || return 1
    local result=0
    ctest --preset "$preset" -j "$(nproc)" -E '^DeviceAudio' || result=1
    ctest --preset "$preset" -R '^DeviceAudio' || result=1
    return "$result"
}
case "$sanitize" in
all)
    run_sanitized asan || status=1
    run_sanitized ubsan || status=1
    ;;
logic) run_sanitized asan || status=1 ;;
esac
exit "$status"
