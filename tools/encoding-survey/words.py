#!/usr/bin/env python3
"""Writes the encoding survey's word lists from IPAdic's source tables.

    words.py DICTIONARY_FOLDER OUTPUT_FOLDER

The tables (mecab-ipadic's *.csv, EUC-JP) give every word a cost learned
from a tagged corpus: within one part of speech, a lower cost means a more
frequent word, so the cheapest nouns stand in for the words people type.
Katakana loanwords come out cheap across the board (two thirds of the 3000
cheapest nouns), so they are ranked on their own, or they would crowd the
kanji and kana out of the common list.

Writes UTF-8, one word per line:
  common.txt    the 3000 cheapest common nouns that are not all katakana
  katakana.txt  the 3000 cheapest common nouns written all in katakana
  rare.txt      every word, of any part of speech, holding a level-2 kanji
                (dictionary forms only: the inflected forms of one verb
                would otherwise outnumber whole families of nouns)
"""
import csv
import pathlib
import sys

TAKE = 3000
COMMON_NOUNS = {"一般", "サ変接続", "形容動詞語幹", "副詞可能"}
# Field syntax for the list reader: a word holding one of these would be cut
# or trimmed whatever the encoding, and count as a misread for nothing.
SYNTAX = set(' \t\u3000,"')


def usable(word):
    if not word or any(c in SYNTAX or ord(c) < 0x20 for c in word):
        return False
    try:
        word.encode("cp932")  # every survey file is also written in code page 932
    except UnicodeEncodeError:
        return False
    return True


def is_katakana(word):
    return all("\u30a1" <= c <= "\u30fc" for c in word)


def has_level2_kanji(word):
    # JIS X 0208 rows 48 to 84, which code page 932 puts at 0x989F..0xEAA4.
    for c in word:
        b = c.encode("cp932")
        if len(b) == 2 and 0x989F <= int.from_bytes(b, "big") <= 0xEAA4:
            return True
    return False


def main(dic, out):
    cost = {}  # word -> lowest cost among its common-noun entries
    rare = set()
    for table in sorted(pathlib.Path(dic).glob("*.csv")):
        with open(table, encoding="euc_jp", newline="") as f:
            for row in csv.reader(f):
                word, c = row[0], int(row[3])
                if not usable(word):
                    continue
                if has_level2_kanji(word) and row[9] in ("*", "基本形"):
                    rare.add(word)
                if row[4] == "名詞" and row[5] in COMMON_NOUNS:
                    cost[word] = min(c, cost.get(word, c))

    ranked = sorted(cost, key=lambda w: (cost[w], w))
    lists = {
        "common": [w for w in ranked if not is_katakana(w)][:TAKE],
        "katakana": [w for w in ranked if is_katakana(w)][:TAKE],
        "rare": sorted(rare),
    }
    pathlib.Path(out).mkdir(parents=True, exist_ok=True)
    for name, words in lists.items():
        pathlib.Path(out, name + ".txt").write_text("".join(w + "\n" for w in words), encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
