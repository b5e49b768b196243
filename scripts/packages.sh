# The Debian packages quorvella needs, and a function that installs those that are missing.
# Sourced by run.sh and test.sh.

QUORVELLA_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev
    flite1-dev libespeak-ng-dev libsoxr-dev)
QUORVELLA_SPEECH_PACKAGES=(libflite1 libespeak-ng1 espeak-ng-data libsoxr0)
# Fonts: Chinese text, a bold serif for the word panels, and the IPA symbols of the phonetics.
QUORVELLA_RUN_PACKAGES=(fonts-wqy-microhei fonts-noto-cjk fonts-dejavu-core qt6-translations-l10n
    "${QUORVELLA_SPEECH_PACKAGES[@]}")
QUORVELLA_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang-format git
    pulseaudio pulseaudio-utils strace
    # the audio tests on PipeWire's PulseAudio service as well, in a private session
    pipewire pipewire-pulse wireplumber dbus-daemon
    # the installation's tests: validators, an X server to start the installed program on
    desktop-file-utils appstream xvfb x11-utils binutils
    # the fuzz targets and the ubsan preset: clang 14, libFuzzer
    clang libclang-rt-14-dev)

# ensure_packages PACKAGE...: installs with apt-get the packages that are not installed yet,
# through sudo when not root; does nothing when all are present.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing and sudo is not available: ${missing[*]}" >&2
            echo "Install them as root: apt-get install ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
