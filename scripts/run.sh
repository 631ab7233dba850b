#!/usr/bin/env bash
# Builds Orivel and starts it: installs only what building and running the program need, and
# builds only the program and orivel-cli (scripts/test.sh builds the tests and benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DORIVEL_TESTS=OFF -DORIVEL_BENCH=OFF -- --target orivel orivel-cli
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "There is no display to show Orivel's windows on (DISPLAY is not set)." >&2
  # Without windows, show the program's main work: every card of the sample book in a PDF.
  mkdir -p out
  build/src/cli/orivel-cli print examples/sample.orv --all --pdf out/sample-cards.pdf
  echo "Printed the cards of examples/sample.orv with orivel-cli instead: out/sample-cards.pdf"
  exit 0
fi
exec build/src/orivel
