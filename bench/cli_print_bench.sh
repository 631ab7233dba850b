#!/usr/bin/env bash
# Times the whole process `orivel-cli print BOOK ... --pdf OUT` for 1, 30 and 300 cards of a
# book of 300 entries, start-up included, as a script would run it:
#   bench/cli_print_bench.sh [BUILD_DIR [RUNS]]
# With PRINTHA set to a checkout of the hagaki printer printha
# (github.com/belphegor-belbel/printha) built in its build/ folder, the same addressees go
# through it too, in the same run, for comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-30}
cli=$build/src/cli/orivel-cli
[[ -x "$cli" ]] || {
  echo "Build orivel-cli first: scripts/build.sh $build" >&2
  exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# No user store: the cards are printed without a sender, whatever this user has set.
export XDG_CONFIG_HOME=$tmp/config

# 300 different addressees, every address long enough to break into columns.
families=(山田 佐藤 鈴木 高橋 田中 伊藤 渡辺 中村 小林 加藤 吉田 山口 松本 井上 木村)
given=(太郎 花子 一郎 次郎 美咲 陽菜 大輔 翔太 さくら ゆうこ 健一 直樹 由美 恵子 和也 真由美 ケンジ リョウ 誠 愛)
{
  printf '\xef\xbb\xbf名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称\n'
  for ((i = 0; i < 300; i++)); do
    printf '%s　%s,%03d-%04d,東京都千代田区丸の内一丁目%d－%d　ＡＢＣビル%d階　%d号室,Y,,,,,,様\n' \
      "${families[i % 15]}" "${given[i / 15 % 20]}" $((100 + i % 800)) $((i * 37 % 10000)) \
      $((i % 9 + 1)) $((i % 7 + 1)) $((i % 30 + 1)) $((i + 100))
  done
} >"$tmp/book.csv"
"$cli" import --out "$tmp/book.orv" "$tmp/book.csv"

# Whole-process wall time (min and median of RUNS) and peak resident memory of a command,
# and the pages of the PDF it wrote.
measure() {
  local label=$1 pdf=$2
  shift 2
  for _ in 1 2 3; do "$@"; done  # warm the page cache
  local times=() start end peak pages
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  peak=$(/usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1)
  pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  printf '%s\n' "${times[@]}" | sort -n | awk -v label="$label" -v runs="$runs" \
    -v pages="${pages:-?}" -v peak="$peak" '
    { t[NR] = $1 }
    END {
      printf "%-8s %4s cards: min %6.1f ms  median %6.1f ms  peak RSS %5.1f MB  (%d runs)\n",
        label, pages, t[1] / 1000, t[int((NR + 1) / 2)] / 1000, peak / 1024, runs
    }'
}

rows_for() {
  local n=$1 list=0
  ((n >= 300)) && { echo --all; return; }
  for ((r = 1; r < n; r++)); do list+=",$r"; done
  echo "--rows $list"
}

if [[ -n ${PRINTHA:-} ]]; then
  # printha reads its settings from printha.config.txt in the working folder and the
  # addressees from standard input: name;postal code;address, cards split by "|".
  mkdir "$tmp/printha"
  sed -e 's|^Font .*|Font IPAPMincho|' -e "s|^OutputPath .*|OutputPath $tmp/printha/cards.pdf|" \
    -e 's|^SendFromPath .*|SendFromPath|' "$PRINTHA/settings/config.txt" \
    >"$tmp/printha/printha.config.txt"
  for cards in 1 30 300; do
    awk -F, -v n="$cards" 'NR > 1 && NR <= n + 1 {
        sub(/　/, " ", $1); printf "%s%s様;%s;%s", (NR > 2 ? "|" : ""), $1, $2, $3 }' \
      "$tmp/book.csv" >"$tmp/printha/to$cards"
  done
fi

for cards in 1 30 300; do
  # shellcheck disable=SC2046
  measure orivel "$tmp/cards.pdf" \
    "$cli" print "$tmp/book.orv" $(rows_for "$cards") --pdf "$tmp/cards.pdf"
  if [[ -n ${PRINTHA:-} ]]; then
    (cd "$tmp/printha" && measure printha cards.pdf \
      sh -c "exec '$PRINTHA/build/printha' <to$cards 2>/dev/null")
  fi
done
