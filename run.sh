#!/usr/bin/env bash
# Builds quorvella (Release) and starts it. Installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${QUORVELLA_BUILD_PACKAGES[@]}" "${QUORVELLA_RUN_PACKAGES[@]}"

cmake --preset default -DQUORVELLA_TESTS=OFF -DQUORVELLA_BENCHMARKS=OFF >/dev/null
cmake --build --preset default
exec ./build/release/bin/quorvella "$@"
