#!/usr/bin/env bash
# Builds quorvella with warnings as errors and runs every test headless, after checking that the
# C++ sources are formatted. Installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")"
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
exit "$status"
