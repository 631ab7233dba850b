#!/usr/bin/env bash
# Builds Orivel and runs every test; then runs the tests again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes the file readers briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Formatting (clang-format)"
find src tests bench -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run -Werror

echo "== Build and test"
# The tests and benchmarks, which scripts/run.sh leaves out of the same build folder.
scripts/build.sh build -DORIVEL_WERROR=ON -DORIVEL_TESTS=ON -DORIVEL_BENCH=ON
# A CUPS server of our own with a PDF printer, for the printing tests (label "cups").
# (Captured first: an eval of the output of a start that failed would succeed.)
cups_env=$(scripts/cups-test-printer.sh start)
eval "$cups_env"
trap 'scripts/cups-test-printer.sh stop "$ORIVEL_CUPS_DIR"' EXIT
export ORIVEL_REQUIRE_CUPS=1
# A dialog nobody answers would wait for ever: every test has 300 s at the most.
(cd build && ctest --output-on-failure --no-tests=error --timeout 300 -j"$jobs")

echo "== Install into a temporary DESTDIR, check the desktop files, build and list the .deb"
scripts/check-install.sh build

echo "== The widget tests as one process"
(cd build/tests && timeout 900 ./qt_tests --gtest_brief=1)

echo "== Every test under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DORIVEL_SANITIZE=ON -DORIVEL_BENCH=OFF -DORIVEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=Debug
# Leaks inside the system's font and graphics libraries are theirs, not ours.
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp:print_suppressions=0" \
  ctest --output-on-failure --no-tests=error --timeout 300 -j"$jobs")

echo "== Fuzz targets, 10 s each (clang, AddressSanitizer, UndefinedBehaviorSanitizer)"
scripts/fuzz.sh 10

echo "== Core tests for Windows: mingw-w64 cross build, run under wine (once more in a Japanese TMP)"
scripts/build.sh build-mingw -DORIVEL_CORE_ONLY=ON -DORIVEL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
export WINEPREFIX="$PWD/build-mingw/wineprefix" WINEDEBUG=-all
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# A wineserver of our own that ends 30 s after its last program, started apart from ctest's
# pipes (a server that inherits them makes ctest wait for it); wineboot makes the prefix.
mkdir -p "$WINEPREFIX"  # the server refuses a prefix folder that does not exist yet
"$wineserver" -p30 >/dev/null 2>&1
"$wine64" wineboot >/dev/null 2>&1
(cd build-mingw && ctest --output-on-failure --no-tests=error --timeout 300 -j"$jobs")
