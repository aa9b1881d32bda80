#!/usr/bin/env python3
"""Writes the seed corpus of small TGA files for the loadTga fuzz target.

Run from anywhere; it rewrites tests/fuzz/corpus and writes the inputs below that
break a careless reader into tests/fuzz/regressions. Crashers that a fuzz run finds are
kept in tests/fuzz/regressions as they are; this script never removes them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def header(image_type, width, height, depth, id_length=0, descriptor=0, cmap=0, origin=(0, 0)):
    return (bytes([id_length, cmap, image_type]) + bytes(5) +
            struct.pack("<HHHHBB", origin[0], origin[1], width, height, depth, descriptor))


def pixels(count, bpp, start=0):
    return bytes((start + i * 37 + k * 11) & 0xFF for i in range(count) for k in range(bpp))


SEEDS = {
    # Uncompressed.
    "u24_2x2.tga": header(2, 2, 2, 24) + pixels(4, 3),
    "u32_3x1.tga": header(2, 3, 1, 32) + pixels(3, 4),
    "u24_3x3_odd_rows.tga": header(2, 3, 3, 24) + pixels(9, 3),
    "u32_top_left.tga": header(2, 2, 2, 32, descriptor=0x28) + pixels(4, 4),
    "u24_empty.tga": header(2, 0, 7, 24),
    "u24_trailing.tga": header(2, 1, 1, 24) + pixels(1, 3) + b"TRUEVISION-XFILE.\0",
    "u24_cut.tga": header(2, 4, 4, 24) + pixels(5, 3),
    "u24_header_cut.tga": header(2, 4, 4, 24)[:15],
    "u24_image_id.tga": header(2, 1, 1, 24, id_length=3) + b"abc" + pixels(1, 3),
    "u24_origin.tga": header(2, 1, 1, 24, origin=(1, 0)) + pixels(1, 3),
    "u16.tga": header(2, 2, 2, 16) + pixels(4, 2),
    "cmap1.tga": header(1, 2, 2, 8, cmap=1) + pixels(4, 1),
    "grey3.tga": header(3, 2, 2, 8) + pixels(4, 1),
    "huge_u.tga": header(2, 65535, 65535, 32) + pixels(2, 4),
    # Run-length encoded.
    "r24_runs.tga": header(10, 4, 2, 24) + b"\x80" + pixels(1, 3) + b"\x86" + pixels(1, 3, 9),
    "r24_raws.tga": header(10, 3, 2, 24) + b"\x00" + pixels(1, 3) + b"\x04" + pixels(5, 3, 5),
    "r24_limits.tga": header(10, 129, 2, 24) + b"\x80" + pixels(1, 3) + b"\x00" +
                      pixels(1, 3, 1) + b"\xff" + pixels(1, 3, 2) + b"\x7f" + pixels(128, 3, 3),
    "r32_id.tga": header(10, 2, 2, 32, id_length=4) + b"name" + b"\x81" + pixels(1, 4) +
                  b"\x01" + pixels(2, 4, 7),
    "r32_mixed.tga": header(10, 5, 3, 32) + b"\x02" + pixels(3, 4) + b"\x83" + pixels(1, 4, 1) +
                     b"\x00" + pixels(1, 4, 2) + b"\x85" + pixels(1, 4, 3),
    "r24_ends_after_run.tga": header(10, 8, 8, 24) + b"\x83" + pixels(1, 3),
    "r24_ends_in_raw.tga": header(10, 4, 4, 24) + b"\x05" + pixels(2, 3) + b"\x01",
    "r32_no_data.tga": header(10, 3, 3, 32),
    "r24_empty.tga": header(10, 0, 0, 24) + b"\x80\x01\x02\x03",
    "r24_long_id.tga": header(10, 2, 2, 24, id_length=255) + pixels(4, 3),
    "r24_header_cut.tga": header(10, 2, 2, 24)[:12],
    "r8.tga": header(10, 2, 2, 8) + b"\x83\x01",
    "huge_r.tga": header(10, 16385, 2, 24) + b"\xff\x01\x02\x03",
    "short.tga": b"\x00\x00\x0a",
    "empty.tga": b"",
}

# Each of these makes a reader that trusts the file write or read outside its block.
REGRESSIONS = {
    "raw_packet_past_end.tga": header(10, 2, 1, 24) + b"\x7f" + pixels(128, 3),
    "run_packet_past_end.tga": header(10, 1, 1, 32) + b"\xff" + pixels(1, 4) + b"\xff" +
                               pixels(1, 4),
    "raw_after_run_past_end.tga": header(10, 3, 3, 24) + b"\x87" + pixels(1, 3) + b"\x7f" +
                                  pixels(128, 3),
    "depth8_uncompressed.tga": header(2, 3, 1, 8) + pixels(3, 1),
    "depth8_rle.tga": header(10, 3, 1, 8) + b"\x82\x01",
    "depth0_rle.tga": header(10, 3, 3, 0) + b"\x82",
    "depth255_uncompressed.tga": header(2, 1, 1, 255) + bytes(32),
    "depth16_rle.tga": header(10, 2, 2, 16) + b"\x03" + pixels(4, 2),
}


def write_all(folder, files, clear):
    out = os.path.join(HERE, folder)
    os.makedirs(out, exist_ok=True)
    if clear:
        for name in os.listdir(out):
            os.remove(os.path.join(out, name))
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print(f"{len(files)} files in {out}")


def main():
    write_all("corpus", SEEDS, clear=True)
    write_all("regressions", REGRESSIONS, clear=False)


if __name__ == "__main__":
    main()
