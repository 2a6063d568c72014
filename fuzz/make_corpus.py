#!/usr/bin/env python3
"""Writes the seed corpus for velt_fuzz_list into fuzz/corpus/.

Each seed is one small list file that reaches a different corner of the
reader: both encodings, quoting, every kind of line end, and the byte
sequences that must fail cleanly. Re-run after adding a seed here; the
written files are committed so CI needs no Python.
"""
import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE / "corpus"


def sjis(text):
    return text.encode("cp932")


SEEDS = {
    "cp932_lines": sjis("今日\r\n昨日\r\n明日の朝\r\n"),
    "cp932_no_final_break": sjis("今日\r\n昨日"),
    "cp932_trail_5c": b"\x95\x5C,\x83\x5C\r\nC:\\x\r\n",
    "cp932_nec_specials": b"\x81\x60\x87\x40\x87\x54\xED\x40\r\n",
    "cp932_halfwidth_kana": b"\xBC\xBD\xC3\xD1\r\n",
    "cp932_ideographic_space": sjis("\u3000山田\u3000花子\u3000\r\n"),
    "utf8_no_bom": "今日\r\n昨日\r\n".encode("utf-8"),
    "utf8_bom": b"\xEF\xBB\xBF" + "今日,昨日\n明日\n".encode("utf-8"),
    "utf8_bom_only": b"\xEF\xBB\xBF",
    "utf8_four_byte": "😀,𠀋\n".encode("utf-8"),
    "ascii_then_cp932": b"abc\r\n" * 20 + sjis("表示\r\n"),
    "quotes": b'"a,b"\r\n"  kept  "\r\n"unclosed\r\n""\r\nx"y"z\r\n"q" tail ,\r\n',
    "commas": b"a,,b,\r\nc,\r\n,\r\n",
    "trailing_comma_eof": b"a,",
    "blank_lines": b"\r\n\r\n  \r\n\t\r\na\r\n\r\n",
    "lone_lf": b"a\nb\n",
    "lone_cr": b"a\rb\rc",
    "mixed_line_ends": b"a\r\nb\nc\rd\n\r",
    "nul_byte": b"a\r\nb\x00c\r\n",
    "control_chars": b"a\x01b\r\n\x1Bc\r\n",
    "utf16le_bom": b"\xFF\xFEa\x00b\x00\r\x00\n\x00" + "今日,𠮷\r\n".encode("utf-16-le"),
    "utf16be_bom": b"\xFE\xFF\x00a\x00b" + "\r\n今日".encode("utf-16-be") + b"\x00",
    "utf16_no_mark": "今日\r\n昨日\r\n".encode("utf-16-le"),
    # Found by the fuzzer: U+FFFF is a character like any other.
    "utf16be_odd_end_and_ffff": bytes.fromhex("feff00ffffff2b610062000d000a4eca65e500"),
    # Found by the fuzzer: ICU rotates 0x1A, 0x1C and 0x7F, so a control
    # byte read as ASCII in one piece was another in a code page 932 one.
    "control_byte_before_cp932_piece": b"x\x1A\r\n" + b"a\r\n" * 6000 + sjis("今"),
    "binary": b"\x7FELF\x02\x01\x01\x00\x00\x00\x00",
    # Short code page 932 texts that are valid UTF-8 by accident, and UTF-8
    # that is valid code page 932 by accident.
    "cp932_valid_utf8_kana": sjis("ﾃｽ\r\nﾎｰﾑｽ"),
    "cp932_valid_utf8_kanji": sjis("扈従\r\n騾馬"),
    "utf8_valid_cp932": "東京,あい\r\n".encode("utf-8"),
    "utf8_fullwidth_and_aliases": "〜−‖—¢£¬ＡＢ\n".encode("utf-8"),
    "ctrl_z_end": sjis("今日\r\n") + b"\x1A\r\n",
    "ctrl_z_after_comma": b"a,\x1A",
    "ctrl_z_middle": b"a\x1A\r\nb\r\n",
    "ctrl_z_then_bad_byte": b"a\r\n\x1A\r\n\xFF",
    "blanks_after_last_comma": b"a,   ",
    "invalid_lead_byte": b"a\r\nb\r\nc\xFF\r\n",
    "truncated_two_byte": b"a\r\n\x95",
    "cut_after_cr": sjis("表\r"),
    "invalid_utf8_after_bom": b"\xEF\xBB\xBF" + b"ok\n\xC3\x28\n",
    "overlong_utf8": b"\xC0\xAF\n\xE0\x80\xAF\n",
    "surrogate_utf8": b"\xED\xA0\x80\n",
    "long_entry": b"ok\r\n" + b"x" * 4097,
    "just_fits_entry": b"y" * 4096 + b"\r\n",
    "full_list": b"".join(b"%d\r\n" % i for i in range(1, 2001)),
    "one_too_many": b"".join(b"%d," % i for i in range(1, 2002)),
    # The reader decodes a fixed-size piece at a time and cuts only after a
    # byte below 0x40. These run over several pieces, which libFuzzer's
    # slowly growing length limit would take the better part of an hour to
    # reach; the last one never offers a byte to cut after.
    "several_pieces_cp932": sjis("".join("駅前の屋台その%d、表ソ能の向こうの山の上\r\n" % i for i in range(1, 1601))),
    "several_pieces_utf8": "".join("駅前の屋台その%d、😀表ソ能\n" % i for i in range(1, 1801)).encode("utf-8"),
    "no_cut_point": b"\x82\xA0" * 33000,
    "blanks_across_pieces": b"a," + b" " * 40000 + b"\r\n" + b"z" * 4098,
    "bad_byte_in_long_field": b"x" * 4000 + b"\xFF" + b"x" * 200,
}


def main():
    if OUT.exists():
        shutil.rmtree(OUT)
    OUT.mkdir()
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)
    # The shipped sample lists, as users start from them.
    lists = HERE.parent / "data" / "lists"
    for path in sorted(lists.glob("*.dat")):
        (OUT / ("sample_" + path.stem)).write_bytes(path.read_bytes())


if __name__ == "__main__":
    main()
