#!/usr/bin/env bash
# Configures and builds one build folder:
#   scripts/build.sh DIR [cmake options...] [-- cmake --build options, e.g. --target orivel]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
options=()
while [[ $# -gt 0 && "$1" != -- ]]; do
  options+=("$1")
  shift
done
[[ $# -gt 0 ]] && shift
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@" -- --no-print-directory
