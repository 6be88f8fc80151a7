#!/usr/bin/env bash
# Sets up, builds and runs every test headless: the tool's tests (its install under a prefix
# among them), the Debian package's check, a sanitizer build of the logic and its tests, and
# a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}" clang libclang-rt-14-dev util-linux srecord

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Debian package"
deb=$(scripts/package.sh build | tail -n 1)
scripts/check-package.sh "$deb"

echo "== sanitizer build (AddressSanitizer + UBSan) of the logic and its tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQX_LOGIC_ONLY=ON -DQX_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

echo "== fuzz targets (a short run each; FUZZ_SECONDS=N for longer)"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQX_LOGIC_ONLY=ON -DQX_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
for target in build-fuzz/bin/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    [ -d "fuzz/seeds/$name" ] && cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
    echo "-- $name"
    "$target" -max_total_time="${FUZZ_SECONDS:-10}" -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
done
echo "== all tests passed"
