#!/usr/bin/env python3
"""Writes the data-file fixtures of the document tests (run it in this folder).

The files are built here line by line, apart from the C++ code under test, so
the tests compare that code against an independent writer of both layouts.
"""


def sj(text):
    return text.encode("cp932")


def key(number, texts, colour=b"0", bold=b"0"):
    """One key block in the current layout: 33 fixed lines plus the texts."""
    template = [b"1.5", b"2", b"20", b"8.25",          # key outline
                b"0", b"0", b"3", b"3",                 # number label box
                sj("ＭＳ ゴシック"), b"7", b"0", b"1", b"0", b"1",
                number,                                  # key number field
                b"2.5", b"1", b"17", b"6.5"]            # text area
    fmt = [sj("ＭＳ 明朝"), b"9", colour, bold, b"0", b"2"]
    spare = [b""] * 5 + [b"", b""]                       # reserved, picture kind, data
    return template + fmt + spare + [str(len(texts)).encode()] + texts


def old_key(block):
    """The same key in the old layout: lines 25 to 31 do not exist."""
    return block[:25] + block[32:]


def group(x, y, keys, show=b"1"):
    header = [show, x, y, b"60", b"40", str(len(keys)).encode()]
    return header, keys


def strip(number, header, groups, convert_key=lambda k: k):
    lines = [str(number).encode() + b"\xff" * 10] + header + [str(len(groups)).encode()]
    for head, keys in groups:
        lines += head
        for k in keys:
            lines += convert_key(k)
    return lines


STRIP1_HEADER = [b"201", sj("営業部"), sj("山田 太郎"), b"2017/03/05 14:07",
                 sj("Ｋａシリーズ主装置"), sj("標準Ｋａ")]
STRIP2_HEADER = [b"305", sj("総務"), b"", b"2020/12/31 23:59",
                 sj("ＳＩＰ対応電話機"), sj("ＳＩＰ１２")]


def strips(convert_key=lambda k: k):
    # Texts hold bytes that are not valid Shift_JIS too: they must survive.
    s1 = strip(1, STRIP1_HEADER, [
        group(b"10", b"20", [key(b"1", [sj("外線１"), sj("代表")], colour=b"255,65535"),
                             key(b"2", [])]),
        group(b"10.5", b"62.25", [key(sj("-05,12保留"), [sj("保留")], bold=b"1")], show=b"0"),
    ], convert_key)
    s2 = strip(2, STRIP2_HEADER, [
        group(b"0", b"0", [key(b"3", [b"\x80\xa0\xfd", b"", sj("ﾊﾝｶｸ") + b"\x82"])]),
    ], convert_key)
    return s1, s2


def join(lines, end=b"\r\n"):
    return b"".join(line + end for line in lines)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def main():
    s1, s2 = strips()
    current = [b"file-version:01.01.00.00", b"2"] + s1 + s2
    o1, o2 = strips(old_key)
    old = [b"2"] + o1 + o2

    write("two_strips.VRD", join(current))
    write("two_strips_old.VRD", join(old))
    write("two_strips_lf.vrd", join(current, b"\n"))
    # The same document, then a byte 00 and rubbish that must be ignored.
    write("two_strips_nul.VRD", join(current) + b"\x00garbage\r\n")

    damaged = list(current)
    damaged[2 + len(s1) + 7] = b"x"              # strip 2's group count
    write("damaged_group_count.VRD", join(damaged))

    write("truncated.VRD", join(current)[:-60])  # cut inside strip 2's last key

    old_damaged = list(old)
    old_damaged[1 + 7 + 6] = b"two"              # key count of strip 1's first group
    write("old_damaged.VRD", join(old_damaged))

    write("header_only.VRD", join([b"file-version:01.01.00.00", b"0"]))
    write("empty.VRD", b"")


if __name__ == "__main__":
    main()
