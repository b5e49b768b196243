#!/usr/bin/env bash
# Builds quorvella with warnings as errors and runs every test headless, after checking that the
# C++ sources are formatted, then replays each fuzz target's seeds. Installs the Debian packages
# it needs first.
#
#   ./test.sh                   the tests and the fuzz targets' seeds
#   ./test.sh --sanitize-logic  also the logic tests (label logic) in the fuzz build: clang with
#                               AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --sanitize        also every test under the presets asan and ubsan
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

# Private sound servers with a null sink "quorvella_test" each, so that the audio tests can record
# what the engine plays from the sink's monitor: PulseAudio, and PipeWire with its PulseAudio
# service. They run as whoever runs the tests (root too, not as system servers), each with its own
# runtime folder, and are stopped when this script ends, however it ends. A server that cannot
# start is said, and the audio tests skip on it.
sound_dirs=()
sound_pids=()
stop_sound_servers() {
    local pid dir
    for pid in "${sound_pids[@]}"; do
        kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for dir in "${sound_dirs[@]}"; do
        rm -rf "$dir"
    done
}
trap stop_sound_servers EXIT
# wait_for_sound_server SOCKET PID: true once the server answers on SOCKET.
wait_for_sound_server() {
    local tries
    for tries in $(seq 100); do
        PULSE_SERVER="unix:$1" pactl info >/dev/null 2>&1 && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# start_pulseaudio: sets pulseaudio_server, or leaves it empty.
pulseaudio_server=""
start_pulseaudio() {
    if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v pactl >/dev/null 2>&1; then
        echo "PulseAudio is not installed: the audio tests skip on it" >&2
        return 0
    fi
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-pulse.XXXXXX")
    sound_dirs+=("$dir")
    HOME="$dir" XDG_CONFIG_HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" \
        setsid pulseaudio --system=false --daemonize=no --exit-idle-time=-1 --use-pid-file=no -n \
        --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        --load="module-null-sink sink_name=quorvella_test rate=48000" \
        >"$dir/log" 2>&1 &
    sound_pids+=($!)
    if wait_for_sound_server "$dir/native" "$!"; then
        pulseaudio_server="unix:$dir/native"
    else
        echo "PulseAudio did not start: the audio tests skip on it. Its log:" >&2
        cat "$dir/log" >&2
    fi
}
# start_pipewire: sets pipewire_server, or leaves it empty.
pipewire_server=""
start_pipewire() {
    local command
    for command in pipewire wireplumber pipewire-pulse dbus-run-session pactl; do
        if ! command -v "$command" >/dev/null 2>&1; then
            echo "$command is not installed: the audio tests skip on PipeWire" >&2
            return 0
        fi
    done
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-pipewire.XXXXXX")
    sound_dirs+=("$dir")
    mkdir -p "$dir/config" "$dir/state"
    HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config" XDG_STATE_HOME="$dir/state" \
        setsid dbus-run-session -- sh -c 'pipewire & sleep 0.5; wireplumber & pipewire-pulse & wait' \
        >"$dir/log" 2>&1 &
    sound_pids+=($!)
    if wait_for_sound_server "$dir/pulse/native" "$!" &&
        PULSE_SERVER="unix:$dir/pulse/native" pactl load-module module-null-sink \
            sink_name=quorvella_test rate=48000 >/dev/null &&
        PULSE_SERVER="unix:$dir/pulse/native" pactl set-default-sink quorvella_test; then
        pipewire_server="unix:$dir/pulse/native"
    else
        echo "PipeWire did not start: the audio tests skip on it. Its log:" >&2
        cat "$dir/log" >&2
    fi
}
start_pulseaudio
start_pipewire

# The audio tests record the sink's monitor, so they run after the others, one at a time, with
# nothing else playing: on PulseAudio, then on PipeWire.
status=0
PULSE_SERVER="$pulseaudio_server" ctest --preset debug -j "$(nproc)" -E '^DeviceAudio' || status=$?
echo "The audio tests on PulseAudio:"
PULSE_SERVER="$pulseaudio_server" ctest --preset debug -R '^DeviceAudio' || status=$?
echo "The audio tests on PipeWire:"
PULSE_SERVER="$pipewire_server" ctest --preset debug -R '^DeviceAudio' || status=$?

# The fuzz targets (clang with libFuzzer, ASan and UBSan) replay their seeds; the same build
# holds the logic tests, which run there with --sanitize-logic. A timed run of the fuzz targets is
# fuzz/run_fuzzers.sh's, by hand.
if command -v clang++ >/dev/null 2>&1; then
    if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz; then
        fuzz/run_fuzzers.sh build/fuzz 0 || status=$?
        if [ -n "$sanitize" ]; then
            ctest --preset fuzz -j "$(nproc)" || status=1
        fi
    else
        status=1
    fi
else
    echo "clang++ is not installed: the fuzz targets and the sanitized logic tests are not run" >&2
    [ -z "$sanitize" ] || status=1
fi

# run_sanitized PRESET: builds the preset and runs every test as the debug ones ran.
run_sanitized() {
    local preset=$1
    cmake --preset "$preset" >/dev/null || return 1
    cmake --build --preset "$preset" || return 1
    local result=0
    PULSE_SERVER="$pulseaudio_server" ctest --preset "$preset" -j "$(nproc)" -E '^DeviceAudio' ||
        result=1
    PULSE_SERVER="$pulseaudio_server" ctest --preset "$preset" -R '^DeviceAudio' || result=1
    return "$result"
}
if [ "$sanitize" = all ]; then
    run_sanitized asan || status=1
    run_sanitized ubsan || status=1
fi
exit "$status"
