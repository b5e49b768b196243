#!/usr/bin/env bash
# Installs quorvella from the build folder BUILD into a scratch folder and checks what came out.
#   installed_program_test.sh install BUILD   by `cmake --install` into a scratch prefix
#   installed_program_test.sh deb BUILD       by packing the .deb with CPack and unpacking it
# Checked: the program and its course in one folder, the link in bin, the desktop entry, the
# icons and the metainfo (as Debian's validators see them), the package's dependencies, and that
# the installed program, started through its link, finds its course and its voices.
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
app_id=example.quorvella.quorvella

missing=()
for tool in desktop-file-validate appstreamcli Xvfb xwininfo objdump; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Not installed, so the test skips: ${missing[*]} (./test.sh installs them)" >&2
    exit 77
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvella-installed.XXXXXX")
xvfb_pid=""
program_pid=""
stop_program() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
        program_pid=""
    fi
}
clean_up() {
    stop_program
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap clean_up EXIT
trap 'exit 1' INT TERM HUP PIPE

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# --- Install -------------------------------------------------------------------------------------

case "$mode" in
install)
    cmake --install "$build" --prefix "$scratch/usr" >"$scratch/install.log"
    root=$scratch/usr
    ;;
deb)
    cpack --config "$build/CPackConfig.cmake" -B "$scratch/pack" >"$scratch/cpack.log" ||
        { cat "$scratch/cpack.log" >&2; exit 1; }
    debs=("$scratch"/pack/quorvella_*.deb)
    [ -f "${debs[0]}" ] || { echo "FAIL: CPack made no .deb" >&2; exit 1; }
    deb=${debs[0]}
    dpkg-deb -x "$deb" "$scratch/root"
    root=$scratch/root/usr
    ;;
*)
    echo "usage: $0 install|deb BUILD" >&2
    exit 2
    ;;
esac
folder=$root/lib/quorvella

# --- Layout --------------------------------------------------------------------------------------

[ -f "$folder/quorvella" ] && [ ! -L "$folder/quorvella" ] && [ -x "$folder/quorvella" ] ||
    fail "the program is not in lib/quorvella"
for file in textindex.txt ti.txt ai.txt text/0.txt cn/0.txt dat/kwdc1.txt dat/kwdc2.txt \
    dat/bookw.txt dat/zsks.txt dat/gmat.dat dat/tk.txt abc/grammar.htm help/help.htm \
    textkey/0.txt; do
    [ -s "$folder/$file" ] || fail "the course lacks $file beside the program"
done
# The program and its audio module are the folder's only executables: nothing of the build
# (tests, benchmarks) came along.
[ -f "$folder/libquorvella_audio.so" ] || fail "the audio module is not beside the program"
extra=$(find "$folder" -type f -perm -u+x ! -path "$folder/quorvella" \
    ! -path "$folder/libquorvella_audio.so")
[ -z "$extra" ] || fail "more executables beside the program: $extra"

[ -L "$root/bin/quorvella" ] || fail "bin/quorvella is not a symbolic link"
[ "$(readlink "$root/bin/quorvella")" = ../lib/quorvella/quorvella ] ||
    fail "bin/quorvella links to $(readlink "$root/bin/quorvella"), not ../lib/quorvella/quorvella"
[ "$(readlink -f "$root/bin/quorvella")" = "$(readlink -f "$folder/quorvella")" ] ||
    fail "bin/quorvella does not lead to the program"
[ -x "$root/bin/quorvella-data" ] || fail "bin/quorvella-data is missing"
# The installed tool writes the sample course from the sources installed with it.
"$root/bin/quorvella-data" sample "$scratch/sample-course" >/dev/null ||
    fail "the installed quorvella-data cannot write the sample course from its own sources"
[ -f "$scratch/sample-course/textindex.txt" ] || fail "the sample course written has no textindex.txt"

desktop=$root/share/applications/$app_id.desktop
metainfo=$root/share/metainfo/$app_id.metainfo.xml
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
    grep -qx 'Exec=quorvella' "$desktop" && [ -x "$root/bin/quorvella" ] ||
        fail "the desktop entry does not start bin/quorvella"
    grep -qx 'Icon=quorvella' "$desktop" || fail "the desktop entry names another icon"
    grep -qx 'Categories=Education;Languages;' "$desktop" || fail "the desktop entry's categories"
    grep -q '^Name\[zh_CN\]=' "$desktop" || fail "the desktop entry has no Chinese name"
else
    fail "no desktop entry in share/applications"
fi
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
        { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate rejects the metainfo"; }
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch the desktop entry"
else
    fail "no metainfo in share/metainfo"
fi

# A PNG's width and height, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" \
        $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}
for size in 16 24 32 48 64 128 256; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/quorvella.png
    if [ -f "$icon" ]; then
        [ "$(png_size "$icon")" = "${size}x${size}" ] ||
            fail "the ${size}x${size} icon is $(png_size "$icon")"
    else
        fail "no ${size}x${size} icon"
    fi
done
grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/quorvella.svg" 2>/dev/null ||
    fail "no scalable icon"

# --- The package's dependencies ------------------------------------------------------------------

if [ "$mode" = deb ]; then
    depends=$(dpkg-deb -f "$deb" Depends)
    # Each alternative group: one of its packages is installed here, where the program runs, so
    # every name is a real Debian package.
    IFS=',' read -ra groups <<<"$depends"
    for group in "${groups[@]}"; do
        found=""
        IFS='|' read -ra alternatives <<<"$group"
        for alternative in "${alternatives[@]}"; do
            name=$(awk '{ print $1 }' <<<"$alternative")
            if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed'; then
                found=$name
            fi
        done
        [ -n "$found" ] || fail "no package of the dependency \"$group\" is installed here"
    done
    depends_on() { tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$1"; }
    # What the program opens at run time, which no tool sees in it: flite, espeak-ng and its
    # voices, Qt's Chinese texts, a Chinese font and the font of the phonetics.
    for package in libflite1 libespeak-ng1 espeak-ng-data qt6-translations-l10n \
        fonts-wqy-microhei fonts-noto-cjk fonts-dejavu-core; do
        depends_on "$package" || fail "Depends lacks $package: $depends"
    done
    # Every library the program and its audio module are linked with comes from a package it
    # depends on. dpkg knows a library by one of its names: as ldd found it or resolved, with or
    # without /usr in front (/lib is /usr/lib on Debian 12); one dpkg -S looks them all up.
    ldd "$folder/quorvella" "$folder/libquorvella_audio.so" | awk '/=> \// { print $3 }' |
        sort -u >"$scratch/libraries"
    needed=$(objdump -p "$folder/quorvella" "$folder/libquorvella_audio.so" |
        awk '/NEEDED/ { print $2 }' | sort -u)
    names=()
    for library in $needed; do
        path=$(grep -m1 "/$library\$" "$scratch/libraries" || true)
        [ -n "$path" ] || { fail "ldd does not find $library"; continue; }
        for name in "$path" "$(readlink -f "$path")"; do
            names+=("$name" "${name#/usr}" "/usr$name")
        done
    done
    dpkg -S "${names[@]}" >"$scratch/owners" 2>/dev/null || true
    for library in $needed; do
        owner=$(grep -m1 "/$library[.0-9]*\$" "$scratch/owners" | cut -d: -f1 || true)
        depends_on "$owner" || fail "the program links $library of \"$owner\", which Depends lacks"
    done
fi

# --- The installed program starts on its course, with its voices --------------------------------

# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { cat "$scratch/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$scratch/display")"

# The names of the program's windows on the screen: those with a class, which leaves out the
# helper windows that Qt makes for itself.
window_names() {
    { xwininfo -root -tree 2>/dev/null || true; } |
        sed -n 's/^ *0x[0-9a-f]* "\([^"]*\)": ("[^"]*" "[^"]*").*/\1/p'
}

# Starts program (by the path given) and waits until its launcher is up or a box shows an error;
# sets outcome to "launcher", "error: <window names>" or "ended". A busy X server can turn a
# connection away, which says nothing of the installation: then the program is started once more.
start_and_watch() {
    watch_program "$1"
    if [ "$outcome" = ended ] && grep -q 'could not connect to display' "$scratch/program.log"; then
        program_pid=""
        watch_program "$1"
    fi
}
watch_program() {
    QT_QPA_PLATFORM=xcb "$1" >"$scratch/program.log" 2>&1 &
    program_pid=$!
    local names sightings=0
    for _ in $(seq 600); do
        names=$(window_names)
        # An error box is captioned with the application title, or "Application Error", and stays
        # up; a window is named after the application for a moment while Qt makes it, so an
        # error box is one that is still there half a second later.
        if grep -qx -e 'quorvella' -e 'Application Error' <<<"$names"; then
            sightings=$((sightings + 1))
            if [ "$sightings" -ge 5 ]; then
                outcome="error: $(tr '\n' ' ' <<<"$names")"
                return
            fi
        else
            sightings=0
        fi
        if grep -qx 'Tamsora' <<<"$names"; then
            outcome=launcher
            return
        fi
        kill -0 "$program_pid" 2>/dev/null || { outcome=ended; return; }
        sleep 0.1
    done
    outcome="nothing after a minute: $(tr '\n' ' ' <<<"$names")"
}

start_and_watch "$root/bin/quorvella"
if [ "$outcome" = launcher ]; then
    sleep 1
    if kill -0 "$program_pid" 2>/dev/null; then
        # Its voices: flite and espeak-ng are open in it, their voices listed (a voice itself
        # is made when it first speaks).
        for library in libflite.so libespeak-ng.so; do
            grep -q "/$library" "/proc/$program_pid/maps" || fail "the program has not loaded $library"
        done
        if grep -q 'Cannot open file' "$scratch/program.log"; then
            fail "the program could not open a file: $(cat "$scratch/program.log")"
        fi
    else
        fail "the program ended after showing its launcher: $(cat "$scratch/program.log")"
    fi
else
    fail "the installed program, started through bin/quorvella, gave $outcome"
    cat "$scratch/program.log" >&2
fi
stop_program

# The check above can fail: the same program alone, away from its course, shows an error box.
if [ "$mode" = install ]; then
    mkdir "$scratch/alone"
    cp "$folder/quorvella" "$scratch/alone/"
    start_and_watch "$scratch/alone/quorvella"
    [[ "$outcome" == error:* ]] || fail "the program away from its course gave $outcome"
    stop_program
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures failures" >&2
    exit 1
fi
echo "The $mode: layout, link, desktop entry, icons, metainfo and start-up are right"
