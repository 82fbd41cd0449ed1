#!/usr/bin/env python3
"""Writes the hostile and damaged inputs that the tests replay through every
fuzz target (run it in this folder). Each one once hung, overflowed or took
far too long; the figures of the large variants are in bench_hostile.
"""

FF = b"\xff" * 10
VERSION = b"file-version:01.01.00.00"


def sep(n):
    return str(n).encode() + FF


def key(texts, count=None):
    """A key block of the current layout: 33 fixed lines and the texts."""
    fixed = [b"1", b"2", b"20", b"8", b"0", b"0", b"3", b"3", b"Gothic", b"7", b"0", b"0", b"0", b"1",
             b"1", b"2", b"1", b"17", b"6", b"Mincho", b"9", b"0", b"0", b"0", b"2"] + [b""] * 7
    return fixed + [str(len(texts) if count is None else count).encode()] + texts


def group(keys, count=None):
    lines = [b"1", b"10", b"20", b"60", b"40", str(len(keys) if count is None else count).encode()]
    for k in keys:
        lines += k
    return lines


def strip(n, groups, extension=b"100"):
    lines = [sep(n), extension, b"dep", b"user", b"2017/03/05 14:07", b"Mo", b"type", str(len(groups)).encode()]
    for g in groups:
        lines += g
    return lines


def document(strips, count=None):
    lines = [VERSION, str(len(strips) if count is None else count).encode()]
    for s in strips:
        lines += s
    return lines


def write(name, lines, end=b"\r\n"):
    with open(name, "wb") as f:
        f.write(end.join(lines) + (end if lines else b""))


# The strip number at the top of int: the list rows once counted up forever.
with open("strip_count_overflow.VRD", "wb") as f:
    f.write(b"file-version:\n2147483647\n2147483647" + FF)
# A count of 100,000,000 in a file of one line more: rows were reserved for it.
write("strip_count_huge.VRD", [VERSION, b"100000000", sep(1), b"1"])
# Separators in reverse order: every lookup once scanned them all.
write("separators_reversed.VRD", [VERSION, b"3000"] + [sep(n) for n in range(3000, 0, -1)])
# A group of 2147483647 keys after one of 60: the key sum wrapped round.
write("key_sum_overflow.VRD", document([strip(1, [group([key([])] * 60), group([key([])], 2147483647)])]))
# Key texts and a header line that read as separators in a sound file.
write("separator_in_text.VRD", document([
    strip(1, [group([key([sep(2), sep(3)])])]),
    strip(2, [group([key([b"x"])])], extension=sep(9)),
    strip(3, [group([key([])])]),
]))
# A count just below the top of int: the next strip takes the last number.
write("count_top_of_int.VRD", document([strip(1, [group([key([b"a"])])])], count=2147483646))
# A key of 10,000 lines: every line was decoded and measured to draw it.
write("long_key.VRD", document([strip(1, [group([key([b"line %d" % i for i in range(10000)])])])]))
# The same key alone, as the key text target reads its input.
write("long_key.txt", key([b"line %d" % i for i in range(10000)]))
# Settings at the ends of int.
write("extreme.ini", [b"[Position]", b"MainWState=0", b"MainTop=2147483647", b"MainLeft=-2147483648",
                      b"TelListHeight=-2147483648", b"TelList0=2147483647"])
# A millimetre value that rounds past a billion, and one at the low end.
write("decimal_past_limit.txt", [b"1000000000.99995"], end=b"")
write("decimal_low_end.txt", [b"-922337203685477.5808"], end=b"")
