#!/usr/bin/env bash
# Builds Orivel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "There is no display to show Orivel's windows on (DISPLAY is not set)." >&2
  exit 1
fi
exec build/src/orivel
