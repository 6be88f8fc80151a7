#!/usr/bin/env bash
# Builds the Debian package of the tool: BUILD_DIR/qx284-config_VERSION-1_ARCH.deb, with its
# dependencies taken from the libraries the binaries link. Prints the package's path last.
# Usage: scripts/package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"

build=${1:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target qx284-config radiosim >/dev/null
rm -f "$build"/qx284-config_*.deb
(cd "$build" && cpack -G DEB 2>&1 | grep -v "^CPack: -" || true)
deb=$(ls "$build"/qx284-config_*.deb)
echo "$deb"
