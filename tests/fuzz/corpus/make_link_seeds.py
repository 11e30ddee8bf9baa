#!/usr/bin/env python3
# Writes the link fuzzer's seeds: separator, quote, flags (1 trim, 2 any
# position, 4 any capacity), position and capacity as 4-byte big-endian
# integers, the field's length and bytes, then the buffer contents. Without
# flags 2 and 4 the fuzzer reads position and capacity as (value % 64) - 2
# and (value % 300) - 2, so the seeds store them plus 2.
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "link")
SEEDS = {
    "explorer": (b" ", b'"', 1, 1, 200, b"https://www.pelmora.org/", b"Explorer"),
    "quoted": (b" ", b'"', 1, 1, 60, b'say "hi" now', b'"a b" c d'),
    "append": (b" ", b'"', 1, 3, 40, b"new", b"one two"),
    "first": (b" ", b'"', 0, 0, 40, b"x", b"a b c  "),
    "tight": (b",", b"'", 1, 2, 9, b"it's", b"a,b,c"),
    "unterminated": (b" ", b'"', 1, 0, 4, b"z", b"abcdefgh"),
    "negative": (b" ", b'"', 1, -1, 0, b"", b"a b"),
}
os.makedirs(HERE, exist_ok=True)
for name, (sep, quote, flags, pos, cap, field, contents) in SEEDS.items():
    data = sep + quote + bytes([flags]) + struct.pack(">II", (pos + 2) % 2**32, (cap + 2) % 2**32)
    data += bytes([len(field)]) + field + contents
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
