#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR under an unusual prefix and checks what a
# desktop would read there (desktop entry, AppStream metainfo, the book's MIME type, the
# icon, the man pages), runs the installed orivel-cli, then builds the Debian package, lists
# it, checks its relations and runs lintian on it, which must print no error and no warning.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

prefix=/opt/orivel
dest=$tmp/dest
DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >/dev/null
root=$dest$prefix
share=$root/share
id=com.quillmere.orivel

echo "-- desktop entry"
desktop-file-validate "$share/applications/$id.desktop"
grep -qx 'Name=オリベル' "$share/applications/$id.desktop"
grep -qx 'Exec=orivel %f' "$share/applications/$id.desktop"

echo "-- AppStream metainfo"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

echo "-- icon and man pages"
for f in icons/hicolor/scalable/apps/orivel.svg icons/hicolor/48x48/apps/orivel.png \
  icons/hicolor/256x256/apps/orivel.png man/man1/orivel.1.gz man/man1/orivel-cli.1.gz \
  bash-completion/completions/orivel-cli doc/orivel/copyright doc/orivel/changelog.gz; do
  [[ -s "$share/$f" ]] || { echo "missing: $share/$f" >&2; exit 1; }
done
page=$(man -l "$share/man/man1/orivel.1.gz" 2>/dev/null)
[[ "$page" == *BOOK.orv* ]]

echo "-- bash completion of orivel-cli"
completion=$share/bash-completion/completions/orivel-cli
bash -n "$completion"
# As bash-completion would call it, with the installed program: the commands, a command's
# options, the profile commands.
complete_words() {
  bash -c 'source /usr/share/bash-completion/bash_completion
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _orivel_cli; printf "%s\n" "${COMPREPLY[@]}"' sh "$completion" "$@"
}
[[ $(complete_words "$root/bin/orivel-cli" pr) == $'print\nprofile' ]]
options=$(complete_words "$root/bin/orivel-cli" print book.orv --p)
[[ $(paste -sd ' ' <<<"$options") == "--pdf --printer --progress" ]]
[[ $(complete_words "$root/bin/orivel-cli" profile '') == $'show\nadd\nset\nuse' ]]

echo "-- MIME type of examples/sample.orv"
XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime"
grep -q '^50:application/x-orivel-book:\*\.orv$' "$share/mime/globs2"
type=$(XDG_DATA_HOME="$tmp/nowhere" XDG_DATA_DIRS="$share:/usr/share" \
  gio info -a standard::content-type examples/sample.orv | sed -n 's/^ *standard::content-type: //p')
echo "examples/sample.orv: $type"
[[ "$type" == application/x-orivel-book ]]

echo "-- the installed front ends"
"$root/bin/orivel" --version
"$root/bin/orivel-cli" --version
listing=$("$root/bin/orivel-cli" show examples/sample.orv)
head -n 2 <<<"$listing"
[[ $(wc -l <<<"$listing") -eq 20 ]]

echo "-- Debian package"
(cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/orivel_*.deb)
dpkg-deb -I "$deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
# Depends: the libraries the binaries link (dpkg-shlibdeps) and what the program cannot
# start or print without; Recommends and Suggests as a usual installation wants them.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6gui6 libqt6core6 libharfbuzz0b libicu \
  libfontconfig1 fonts-ipafont-gothic fonts-ipafont-mincho qt6-qpa-plugins libcups2; do
  [[ "$depends" == *"$p"* ]] || { echo "the package does not depend on $p" >&2; exit 1; }
done
relations() { dpkg-deb -f "$deb" "$1" | tr -d ' ' | tr ',' '\n' | sort | paste -sd ' '; }
expected="fonts-aoyagi-kouzan-t fonts-aoyagi-soseki fonts-kouzan-mouhitsu qt6-translations-l10n skkdic-extra"
[[ $(relations Recommends) == "$expected" ]] ||
  { echo "Recommends: $(relations Recommends), expected $expected" >&2; exit 1; }
[[ $(relations Suggests) == cups ]] || { echo "Suggests: $(relations Suggests), expected cups" >&2; exit 1; }
for f in ./usr/bin/orivel ./usr/bin/orivel-cli ./usr/share/applications/$id.desktop \
  ./usr/share/mime/packages/orivel-book.xml ./usr/share/metainfo/$id.metainfo.xml \
  ./usr/share/doc/orivel/copyright ./usr/share/doc/orivel/changelog.gz; do
  [[ "$contents" == *" $f"$'\n'* || "$contents" == *" $f" ]] || { echo "not in the package: $f" >&2; exit 1; }
done

echo "-- lintian"
# Informational tags (I:) may stay; an error or a warning fails the check.
report=$(lintian --display-info --fail-on none "$deb")
echo "$report"
if grep -E '^[EW]: ' <<<"$report" >/dev/null; then
  echo "lintian reports errors or warnings on $(basename "$deb")" >&2
  exit 1
fi
echo "install and package checks passed"
