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
# A CUPS server of our own with a PDF printer, for the printing tests (label "cups").
eval "$(scripts/cups-test-printer.sh start)"
trap 'scripts/cups-test-printer.sh stop "$ORIVEL_CUPS_DIR"' EXIT
export ORIVEL_REQUIRE_CUPS=1
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Install into a temporary DESTDIR, check the desktop files, build and list the .deb"
scripts/check-install.sh build

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DORIVEL_CORE_ONLY=ON -DORIVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

echo "== Fuzz targets, 10 s each (clang, AddressSanitizer, UndefinedBehaviorSanitizer)"
scripts/fuzz.sh 10
