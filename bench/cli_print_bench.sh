#!/usr/bin/env bash
# Times the whole process `orivel-cli print BOOK ... --pdf OUT` for 1, 30 and 300 cards of a
# book of 300 entries, each card with the same sender, start-up included, as a script would
# run it:
#   bench/cli_print_bench.sh [BUILD_DIR [RUNS]]
# With PRINTHA set to a checkout of the hagaki printer printha
# (github.com/belphegor-belbel/printha) built in its build/ folder, the same addressees go
# through it too, in the same run, for comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")
runs=${2:-30}
cli=$build/src/cli/orivel-cli
[[ -x "$cli" ]] || {
  echo "Build orivel-cli first: scripts/build.sh $build" >&2
  exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# No user store: whatever this user has set, every card has the same sender, given here.
export XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$tmp/run"
sender_name='山田　一郎' sender_zip=100-0001
sender_address='東京都千代田区千代田一丁目一－一　千代田ハイツ２０１号'
sender=(--no-profile --sender-name "$sender_name" --sender-zip "$sender_zip"
  --sender-address "$sender_address" --own)

# 300 different addressees, every address long enough to break into columns; a third of
# them families with two joint names, a tenth cards to a company with a title.
families=(山田 佐藤 鈴木 高橋 田中 伊藤 渡辺 中村 小林 加藤 吉田 山口 松本 井上 木村)
given=(太郎 花子 一郎 次郎 美咲 陽菜 大輔 翔太 さくら ゆうこ 健一 直樹 由美 恵子 和也 真由美 ケンジ リョウ 誠 愛)
{
  printf '\xef\xbb\xbf名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称'
  printf ',連名1,連名1敬称,連名2,連名2敬称,会社名,部署,役職\n'
  for ((i = 0; i < 300; i++)); do
    printf '%s　%s,%03d-%04d,東京都千代田区丸の内一丁目%d－%d　ＡＢＣビル%d階　%d号室,Y,,,,,,様' \
      "${families[i % 15]}" "${given[i / 15 % 20]}" $((100 + i % 800)) $((i * 37 % 10000)) \
      $((i % 9 + 1)) $((i % 7 + 1)) $((i % 30 + 1)) $((i + 100))
    if ((i % 3 == 0)); then
      printf ',%s,様,%s,くん' "${given[(i + 1) % 20]}" "${given[(i + 7) % 20]}"
    else
      printf ',,,,'
    fi
    if ((i % 10 == 1)); then printf ',株式会社オリベル,営業部,部長\n'; else printf ',,,\n'; fi
  done
} >"$tmp/book.csv"
"$cli" import --out "$tmp/book.orv" "$tmp/book.csv"

rows_for() {
  local n=$1 list=0
  ((n >= 300)) && { echo --all; return; }
  for ((r = 1; r < n; r++)); do list+=",$r"; done
  echo "--rows $list"
}

# The commands to time, by label: each runs in its folder dir[label] (printha reads its
# settings from the working folder), its standard input from input[label], and writes the
# PDF pdf[label].
labels=()
declare -A command dir input pdf
add() {
  local label=$1
  labels+=("$label")
  dir[$label]=$2 input[$label]=$3 pdf[$label]=$4
  shift 4
  command[$label]=$(printf '%q ' "$@")
}
# The floor: a bare Qt program that writes one line of Japanese into a PDF.
floor=$build/bench/pdf_floor
if [[ -x "$floor" ]]; then
  add floor "$tmp" /dev/null "$tmp/floor.pdf" "$floor" "$tmp/floor.pdf"
  # The same, for as many pages and as much text as 300 cards.
  add floor300 "$tmp" /dev/null "$tmp/floor300.pdf" "$floor" "$tmp/floor300.pdf" 300
fi
for cards in 1 30 300; do
  # shellcheck disable=SC2046
  add "orivel$cards" "$tmp" /dev/null "$tmp/cards$cards.pdf" "$cli" print "$tmp/book.orv" \
    $(rows_for "$cards") "${sender[@]}" --pdf "$tmp/cards$cards.pdf"
  [[ -n ${PRINTHA:-} ]] || continue
  # printha takes the addressees on standard input: name;postal code;address, cards split
  # by "|".
  mkdir "$tmp/printha$cards"
  printf '%s;%s;%s' "${sender_name/　/ }" "$sender_zip" "$sender_address" >"$tmp/sender"
  sed -e 's|^Font .*|Font IPAPMincho|' \
    -e "s|^OutputPath .*|OutputPath $tmp/printha$cards/cards.pdf|" \
    -e "s|^SendFromPath .*|SendFromPath $tmp/sender|" "$PRINTHA/settings/config.txt" \
    >"$tmp/printha$cards/printha.config.txt"
  awk -F, -v n="$cards" 'NR > 1 && NR <= n + 1 {
      sub(/　/, " ", $1); printf "%s%s様;%s;%s", (NR > 2 ? "|" : ""), $1, $2, $3 }' \
    "$tmp/book.csv" >"$tmp/printha$cards/to"
  add "printha$cards" "$tmp/printha$cards" "$tmp/printha$cards/to" \
    "$tmp/printha$cards/cards.pdf" "$PRINTHA/build/printha"
done

run() { cd "${dir[$1]}" && eval "${command[$1]}" <"${input[$1]}" >/dev/null 2>&1; }

for label in "${labels[@]}"; do
  for _ in 1 2 3; do run "$label"; done  # warm the page cache
done
# The commands take turns, one run each a round, so that whatever else the machine does
# weighs on all of them alike.
declare -A times
for ((i = 0; i < runs; i++)); do
  for label in "${labels[@]}"; do
    start=$(date +%s%N)
    run "$label"
    end=$(date +%s%N)
    times[$label]+="$(((end - start) / 1000)) "
  done
done
# Whole-process wall time (min and median of RUNS) and peak resident memory of each
# command, and the pages of the PDF it wrote.
for label in "${labels[@]}"; do
  peak=$(cd "${dir[$label]}" && eval "/usr/bin/time -f %M ${command[$label]}" \
    <"${input[$label]}" 2>&1 >/dev/null | tail -n 1)
  pages=$(pdfinfo "${pdf[$label]}" 2>/dev/null | awk '/^Pages:/ {print $2}')
  tr ' ' '\n' <<<"${times[$label]}" | grep . | sort -n | awk -v label="${label%%[0-9]*}" \
    -v runs="$runs" -v pages="${pages:-?}" -v peak="$peak" '
    { t[NR] = $1 }
    END {
      printf "%-8s %4s cards: min %6.1f ms  median %6.1f ms  peak RSS %5.1f MB  (%d runs)\n",
        label, pages, t[1] / 1000, t[int((NR + 1) / 2)] / 1000, peak / 1024, runs
    }' | tee "$tmp/$label.txt"
done

# The ratios of the medians (of the minimums in brackets), and the memory above the floor's.
field() { awk -v k="$2" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }' "$1"; }
ratio() {
  awk -v a="$(field "$tmp/$1.txt" median)" -v b="$(field "$tmp/$2.txt" median)" \
    -v c="$(field "$tmp/$1.txt" min)" -v d="$(field "$tmp/$2.txt" min)" \
    'BEGIN { printf "%.2f (%.2f)", a / b, c / d }'
}
above() {
  awk -v a="$(field "$tmp/$1.txt" RSS)" -v b="$(field "$tmp/$2.txt" RSS)" \
    'BEGIN { printf "%+.1f MB", a - b }'
}
echo "-- ratios of the medians (of the minimums)"
if [[ -f "$tmp/floor.txt" ]]; then
  echo "1 card / floor:                   $(ratio orivel1 floor)   aim 1.05 or less"
  echo "300 cards / Qt's own 300 pages:   $(ratio orivel300 floor300)"
  echo "1 card, peak RSS above the floor:    $(above orivel1 floor)   aim +3 MB or less"
  echo "300 cards, peak RSS above the floor: $(above orivel300 floor)   aim +6 MB or less"
fi
if [[ -n ${PRINTHA:-} ]]; then
  for cards in 1 30 300; do
    echo "$cards cards, orivel / printha: $(ratio "orivel$cards" "printha$cards")"
  done
  echo "(aim for 300 cards: 0.50 or less)"
  [[ -f "$tmp/floor.txt" ]] && echo "Qt's own 300 pages / printha 300 cards: $(ratio floor300 printha300)"
fi
