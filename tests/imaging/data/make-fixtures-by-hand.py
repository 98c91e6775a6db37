# Fixtures ImageMagick cannot write: a top-down BMP, an icon holding a PNG, a cursor.
import struct

bmp = bytearray(open("bmp-24.bmp", "rb").read())
offset = struct.unpack_from("<I", bmp, 10)[0]
width, height = struct.unpack_from("<ii", bmp, 18)
stride = (width * 3 + 3) // 4 * 4
rows = [bmp[offset + row * stride: offset + (row + 1) * stride] for row in range(height)]
struct.pack_into("<i", bmp, 22, -height)
bmp[offset:offset + stride * height] = b"".join(reversed(rows))
open("bmp-topdown.bmp", "wb").write(bmp)

png = open("png-rgba.png", "rb").read()
small = open("ico-palette.ico", "rb").read()
count = struct.unpack_from("<H", small, 4)[0]
assert count == 1
entry = small[6:22]
dib = small[struct.unpack_from("<I", entry, 12)[0]:]
header = struct.pack("<HHH", 0, 1, 2)
entries = struct.pack("<BBBBHHII", 13, 7, 0, 0, 1, 32, len(png), 6 + 32)
entries += entry[:8] + struct.pack("<II", len(dib), 6 + 32 + len(png))
open("ico-png.ico", "wb").write(header + entries + png + dib)

multi = bytearray(open("ico-multi.ico", "rb").read())
struct.pack_into("<H", multi, 2, 2)
for index in range(struct.unpack_from("<H", multi, 4)[0]):
    struct.pack_into("<HH", multi, 6 + index * 16 + 4, 3, 4)  # hot spot
open("cur-multi.cur", "wb").write(multi)

# RLE4: ImageMagick writes RLE only at 8 bits. Runs of two pixels, an absolute run, then
# an end of line per row.
bmp = bytearray(open("bmp-4.bmp", "rb").read())
offset = struct.unpack_from("<I", bmp, 10)[0]
width, height = struct.unpack_from("<ii", bmp, 18)
stride = (width * 4 + 31) // 32 * 4
data = bytearray()
for row in range(height):
    line = bmp[offset + row * stride: offset + (row + 1) * stride]
    pixels = [(line[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(width)]
    data += bytes([0, 3, (pixels[0] << 4) | pixels[1], pixels[2] << 4])  # absolute
    for x in range(3, width, 2):
        pair = pixels[x:x + 2]
        data += bytes([len(pair), (pair[0] << 4) | (pair[1] if len(pair) > 1 else 0)])
    data += b"\0\0"
data += b"\0\1"
struct.pack_into("<I", bmp, 30, 2)
struct.pack_into("<I", bmp, 34, len(data))
bmp = bmp[:offset] + data
struct.pack_into("<I", bmp, 2, len(bmp))
open("bmp-rle4.bmp", "wb").write(bmp)
