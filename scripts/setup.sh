#!/usr/bin/env bash
# Installs, with apt-get, whatever a fresh Debian 12 machine lacks:
#   scripts/setup.sh           to build and run Orivel (scripts/run.sh)
#   scripts/setup.sh --tests   to build and run every test too (scripts/test.sh)
# Quiet and quick when everything is there already.
set -euo pipefail

# Building the program, and what it uses when it runs: the Qt platform plugins and Qt's
# Japanese translations, the IPA faces of the windows and the cards, the brush faces for
# the cards, and Debian's postal code lists.
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libharfbuzz-dev libicu-dev libfontconfig-dev libcups2-dev libcli11-dev
  qt6-translations-l10n qt6-qpa-plugins
  fonts-ipafont-mincho fonts-ipafont-gothic
  fonts-kouzan-mouhitsu fonts-aoyagi-kouzan-t fonts-aoyagi-soseki
  skkdic-extra
)

# What the tests add: GoogleTest and Google Benchmark, clang for the fuzzers and the
# formatting, an X server, a CUPS server of the tests' own, the checks of the installed
# files and of the .deb, the fonts the tests compare against (DejaVu for its composite
# glyphs), and the Windows cross build.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  fonts-ipaexfont-mincho fonts-ipaexfont-gothic fonts-dejavu-core
  xvfb xauth
  cups cups-client cups-bsd cups-filters printer-driver-cups-pdf printer-driver-escpr
  poppler-utils time
  desktop-file-utils appstream shared-mime-info libglib2.0-bin dpkg-dev man-db lintian
  bash-completion
  python3
  g++-mingw-w64-x86-64-posix wine64 googletest
)

case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *)
    echo "usage: $0 [--tests]" >&2
    exit 2
    ;;
esac

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
