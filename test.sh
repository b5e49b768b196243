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
ctest --preset debug -j "$(nproc)"
