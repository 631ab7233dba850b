#!/usr/bin/env bash
# Builds Orivel and runs every test; then runs the core tests again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Build and test"
scripts/build.sh build
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DORIVEL_CORE_ONLY=ON -DORIVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")
