#!/usr/bin/env bash
# Installs, with apt-get, whatever a fresh Debian 12 machine lacks to build, run and test
# Orivel. Quiet and quick when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libharfbuzz-dev libicu-dev libfontconfig-dev libcups2-dev
  clang libclang-rt-14-dev clang-format
  fonts-ipafont-mincho fonts-ipafont-gothic fonts-ipaexfont-mincho fonts-ipaexfont-gothic
  xvfb xauth
  cups cups-client cups-bsd printer-driver-cups-pdf
  poppler-utils time
  qt6-translations-l10n qt6-qpa-plugins desktop-file-utils appstream shared-mime-info
  libglib2.0-bin dpkg-dev man-db
  skkdic-extra python3
  g++-mingw-w64-x86-64-posix wine64 googletest
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
