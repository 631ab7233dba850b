#!/usr/bin/env python3
"""Prints 300 real-looking addresses to PDF with orivel-cli and checks how they were set.

    bench/address_layout_bench.py [--cli build/src/cli/orivel-cli] [--kanji-digits]
                                  [--sender] [--runs 5] [--keep DIR]

The book is built from the Debian postal list (/usr/share/skk/SKK-JISYO.zipcode of
skkdic-extra) with a fixed seed: prefecture, city and town, a block number such as
"４－１２－８" and, for two cards in three, a building name after a full-width space; one
addressee in ten is a company with 御中. With --sender every card also carries the sender's
name, postal code and a long address.

From `pdftotext -bbox` it counts the cards that
  - set a glyph outside its block,
  - split a number (digits with the hyphens or ー inside them) across two columns,
  - start a column with a character that must not start a line (ー, small kana, closing
    brackets, punctuation),
and times the whole `orivel-cli print --all --pdf` process.
"""

import argparse
import html
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SEED = 20241216
COUNT = 300
ZIPCODE_LIST = "/usr/share/skk/SKK-JISYO.zipcode"

FAMILIES = "山田 佐藤 鈴木 高橋 田中 伊藤 渡辺 中村 小林 加藤 吉田 山口 松本 井上 木村 長谷川 五十嵐 勅使河原".split()
GIVEN = "太郎 花子 一郎 美咲 陽菜 大輔 翔太 さくら 健一 由美 和也 真由美 ケンジ 誠 愛 喜久左衛門 佐和子".split()
COMPANIES = "株式会社オリベル商事 有限会社山田製作所 オリベル総合研究所株式会社 東日本印刷株式会社".split()
BUILDINGS = "オリベルタワー 青山ハイツ グランドメゾン南青山 サンシャインマンション コーポ山田 第二松本ビル ライオンズマンション本郷".split()
ROOMS = ["{}", "{}号室", "{}号", "{}号棟"]

SENDER = {
    "--sender-name": "織部　律子",
    "--sender-zip": "100-0005",
    "--sender-address": "東京都千代田区丸の内一丁目１２－３　オリベルタワー２７階",
}

FULL = str.maketrans("0123456789", "０１２３４５６７８９")
DIGITS = set("0123456789０１２３４５６７８９〇一二三四五六七八九")
CONNECTORS = set("-－ー‐−")
# Characters that must not start a line under strict Japanese line breaking.
NO_START = set("ー―‐〜～ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
               "、。，．・：；？！゛゜ヽヾゝゞ々〻)]}）］｝〕〉》」』】〙〗〟’”｠»")

# The blocks at their neutral places, design pixels: left, top, width, height.
BLOCKS = {
    "QRname": (112, 144, 402, 57),
    "QRaddress": (104, 64, 361, 65),
    "QRzip_code": (54, 30, 33, 209),
    "QRu_name": (296, 304, 177, 33),
    "QRu_address": (224, 272, 249, 25),
    "QRu_zip_code": (476, 250, 17, 121),
}
PT = 0.75  # PDF points per design pixel
# pdftotext boxes an upright glyph of a column by the face's ascent and descent along the
# column, which for proportional glyphs (digits, kana) lies up to three pixels off their ink.
# Across the column its box is the glyph's width, exact.
ALONG_TOLERANCE = 3 * PT
ACROSS_TOLERANCE = 0.25


def postal_entries():
    data = subprocess.run(["iconv", "-f", "EUC-JISX0213", "-t", "UTF-8", ZIPCODE_LIST],
                          check=True, capture_output=True).stdout.decode()
    entries = []
    for line in data.splitlines():
        m = re.match(r"^(\d{7}) /([^/;]+)/$", line)
        if not m:
            continue
        zip_code, place = m.groups()
        if re.search(r"[0-9０-９（）()階、]", place):
            continue
        try:
            place.encode("cp932")
        except UnicodeEncodeError:
            continue
        entries.append((zip_code[:3] + "-" + zip_code[3:], place))
    return entries


def make_csv(path):
    rnd = random.Random(SEED)
    places = postal_entries()
    rows = ["名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称"]
    for i in range(COUNT):
        zip_code, place = rnd.choice(places)
        parts = [str(rnd.randint(1, 9)), str(rnd.randint(1, 30))]
        if rnd.random() < 0.7:
            parts.append(str(rnd.randint(1, 40)))
        address = place + "－".join(parts).translate(FULL)
        if rnd.random() < 2 / 3:
            room = rnd.choice(ROOMS).format(rnd.choice([rnd.randint(101, 1210), rnd.randint(1, 30)]))
            address += "　" + rnd.choice(BUILDINGS) + room.translate(FULL)
        if rnd.random() < 0.1:
            name, sama = rnd.choice(COMPANIES), "御中"
        else:
            name, sama = rnd.choice(FAMILIES) + "　" + rnd.choice(GIVEN), "様"
        rows.append(f"{name},{zip_code},{address},Y,,,,,,{sama}")
    with open(path, "w", encoding="cp932", newline="\r\n") as f:
        f.write("\n".join(rows) + "\n")


def print_args(cli, book, pdf, sender, kanji):
    args = [cli, "print", book, "--all", "--pdf", pdf]
    if sender:
        args.append("--own")
        for option, value in SENDER.items():
            args += [option, value]
    if kanji is not None:
        args.append("--kanji-digits" if kanji else "--no-kanji-digits")
    return args


WORD = re.compile(r'<page width="([\d.]+)" height="([\d.]+)">|'
                  r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>')


def read_pages(pdf):
    """Each page's words, placed as the blocks are: the page is the card upright, so a word is
    turned back onto the design page (x down the card, y leftward from its right edge)."""
    out = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True,
                         capture_output=True).stdout.decode()
    pages = []
    width = 0.0
    for m in WORD.finditer(out):
        if m.group(1):
            pages.append([])
            width = float(m.group(1))
        else:
            x0, y0, x1, y1 = (float(m.group(k)) for k in range(3, 7))
            pages[-1].append((y0, width - x1, y1, width - x0, html.unescape(m.group(7))))
    return pages


def block_of(box):
    """The block that holds the box, or None."""
    x0, y0, x1, y1 = box
    for name, (left, top, width, height) in BLOCKS.items():
        if (x0 >= left * PT - ALONG_TOLERANCE and x1 <= (left + width) * PT + ALONG_TOLERANCE and
                y0 >= top * PT - ACROSS_TOLERANCE and y1 <= (top + height) * PT + ACROSS_TOLERANCE):
            return name
    return None


def glyphs(words):
    """Each word split into its characters, each with its share of the word's box. A plain
    character laid under a vertical form for the text layer is read once."""
    seen = set()
    for x0, y0, x1, y1, text in words:
        key = (text, round((x0 + x1) / 2), round((y0 + y1) / 2))
        if key in seen:
            continue
        seen.add(key)
        n = max(len(text), 1)
        vertical = (y1 - y0) > (x1 - x0) * 1.5 and n > 1
        for k, ch in enumerate(text):
            if vertical:
                yield (x0, y0 + (y1 - y0) * k / n, x1, y0 + (y1 - y0) * (k + 1) / n), ch
            else:
                yield (x0 + (x1 - x0) * k / n, y0, x0 + (x1 - x0) * (k + 1) / n, y1), ch


def columns_of(chars):
    """Groups the characters of a block into columns, read top down on the page (right to
    left on the card), each top to bottom on the card. A glyph's box ends where its column's
    band ends (its across extent is the glyph's own width, narrower for proportional glyphs),
    so the columns are told apart by that edge."""
    cols = []
    for box, ch in sorted(chars, key=lambda c: (c[0][3], c[0][0])):
        if cols and abs(cols[-1][0] - box[3]) < 1.0:
            cols[-1][1].append((box, ch))
        else:
            cols.append([box[3], [(box, ch)]])
    return ["".join(ch for _, ch in sorted(col, key=lambda c: c[0][0])) for _, col in cols]


def check(pdf):
    outside = split = bad_start = 0
    examples = {"outside": [], "split": [], "start": []}
    pages = read_pages(pdf)
    for page_no, words in enumerate(pages):
        by_block = {}
        out_here = False
        for box, ch in glyphs(words):
            name = block_of(box)
            if name is None:
                out_here = True
                # Attribute it to the block whose centre is nearest, for the column checks.
                cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
                name = min(BLOCKS, key=lambda b: abs((BLOCKS[b][1] + BLOCKS[b][3] / 2) * PT - cy) +
                           abs((BLOCKS[b][0] + BLOCKS[b][2] / 2) * PT - cx))
            by_block.setdefault(name, []).append((box, ch))
        split_here = start_here = False
        for name in ("QRaddress", "QRu_address", "QRname", "QRu_name"):
            cols = [c.strip("\u3000 ") for c in columns_of(by_block.get(name, []))]
            for a, b in zip(cols, cols[1:]):
                if a and b and (a[-1] in DIGITS or a[-1] in CONNECTORS) and (
                        b[0] in DIGITS or (b[0] in CONNECTORS and a[-1] in DIGITS)):
                    if a[-1] in DIGITS or (len(a) > 1 and a[-2] in DIGITS):
                        split_here = True
                        examples["split"].append((page_no, a[-4:] + " / " + b[:4]))
                if b and b[0] in NO_START:
                    start_here = True
                    examples["start"].append((page_no, a[-4:] + " / " + b[:4]))
        if out_here:
            examples["outside"].append(page_no)
        outside += out_here
        split += split_here
        bad_start += start_here
    return len(pages), outside, split, bad_start, examples


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("--cli", default="build/src/cli/orivel-cli")
    parser.add_argument("--sender", action="store_true", help="print the sender's blocks too")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="keep the book and the PDF in this folder")
    kanji = parser.add_mutually_exclusive_group()
    kanji.add_argument("--kanji-digits", dest="kanji", action="store_true", default=None)
    kanji.add_argument("--no-kanji-digits", dest="kanji", action="store_false")
    parser.add_argument("--examples", action="store_true", help="list the faulty cards")
    args = parser.parse_args()

    work = args.keep or tempfile.mkdtemp()
    os.makedirs(work, exist_ok=True)
    try:
        csv, book, pdf = (os.path.join(work, n) for n in ("book.csv", "book.orv", "cards.pdf"))
        make_csv(csv)
        subprocess.run([args.cli, "import", "--out", book, csv], check=True)
        command = print_args(args.cli, book, pdf, args.sender, args.kanji)
        subprocess.run(command, check=True)  # warm the caches
        times = []
        for _ in range(args.runs):
            start = time.perf_counter()
            subprocess.run(command, check=True)
            times.append((time.perf_counter() - start) * 1000)
        cards, outside, split, bad_start, examples = check(pdf)
        print(f"{cards} cards ({'kanji digits' if args.kanji else 'digits as written'}, "
              f"{'with' if args.sender else 'without'} the sender)")
        print(f"  cards with a glyph outside its block:        {outside}")
        print(f"  cards with a number split across columns:    {split}")
        print(f"  cards with a column starting with ー, small kana, closing bracket or punctuation: "
              f"{bad_start}")
        if times:
            print(f"  print to PDF, {args.runs} runs: median {statistics.median(times):.0f} ms, "
                  f"min {min(times):.0f} ms")
        if args.examples:
            for kind, found in examples.items():
                print(f"  {kind}: {found[:12]}")
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
