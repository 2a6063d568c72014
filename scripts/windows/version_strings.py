"""Prints the strings of a Windows version resource (VS_VERSIONINFO, as
wrestool extracts it), one "Name=value" a line.

    python3 version_strings.py RESOURCE_FILE
"""
import struct
import sys


def entries(data, offset, end):
    """The blocks between offset and end: (key, value bytes, children)."""
    while offset + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, offset)
        if length == 0:
            return
        block_end = offset + length
        key_end = offset + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[offset + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        # Text values count UTF-16 units, with their final NUL.
        value_bytes = value_length * 2 if kind == 1 else value_length
        yield key, data[value_at:value_at + value_bytes], kind, (value_at + value_bytes + 3) & ~3, block_end
        offset = (block_end + 3) & ~3


def walk(data, offset, end):
    for key, value, kind, children, block_end in entries(data, offset, end):
        if kind == 1 and value:
            print(f"{key}={value.decode('utf-16-le').rstrip(chr(0))}")
        walk(data, children, block_end)


data = open(sys.argv[1], "rb").read()
walk(data, 0, len(data))
