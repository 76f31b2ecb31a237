#!/usr/bin/env python3
"""Textures painted in the image editors modders use come back as painted.

For each editor (ImageMagick, GIMP, Pillow; run as black boxes), each of its
save variants and each kind of bitmap (8 bits with 256 colours, 8 bits with
16 colours and an odd width, 24 bits with an odd width): export the bitmap
with pallix-cli, paint a block in the editor and save, import the file back,
save the data file, export again and compare. The header, colour table and
length must be unchanged (a file of the bitmap's own length and layout is
taken byte for byte instead), every pixel must be the editor's (exactly where its
colour is in the table, a colour of the table otherwise), and the bitmap's
copy must follow. An editor that is not installed is skipped with a line.

Usage: paint_round_trip.py --cli PALLIX_CLI --data DATA_MAKER
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

KINDS = [("256 colours", "0/1", "1/1"), ("16 colours, odd width", "0/2", "1/2"), ("true colour, odd width", "0/3", "1/3")]
BLOCK = (1, 1, 4, 4)  # left, top, right, bottom (exclusive): what every editor paints
TRUE_PAINT = (10, 200, 30)


def stored_bitmap(data):
    """Header, width, height, table (RGB) and pixels (RGB rows from the top) of a stored bitmap."""
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    used, = struct.unpack_from("<I", data, 46)
    table = []
    if bits == 8:
        for i in range(used or 256):
            b, g, r = data[54 + 4 * i:57 + 4 * i]
            table.append((r, g, b))
    row = (width * bits // 8 + 3) // 4 * 4
    pixels = []
    for y in range(abs(height)):
        stored = y if height < 0 else abs(height) - 1 - y
        line = data[offset + stored * row:offset + stored * row + row]
        for x in range(width):
            if bits == 8:
                pixels.append(table[line[x]])
            else:
                b, g, r = line[3 * x:3 * x + 3]
                pixels.append((r, g, b))
    return offset, width, abs(height), table, pixels


def paint_colour(table):
    return table[5] if table else TRUE_PAINT


def painted(width, height, pixels, colour):
    left, top, right, bottom = BLOCK
    return [colour if left <= i % width < right and top <= i // width < bottom else p for i, p in enumerate(pixels)]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def pillow_python():
    for python in ("python3", "/usr/bin/python3"):
        if shutil.which(python) and run([python, "-c", "import PIL"]).returncode == 0:
            return python
    return None


# Each editor: its variants as (name, extension of the file it saves), and how
# it paints the cases given as (source, target, colour) in one run.
def imagemagick(cases, variant):
    for source, target, colour in cases:
        left, top, right, bottom = BLOCK
        prefix = "BMP3:" if variant == "BMP3:" else ""
        result = run(["convert", source, "-fill", "rgb(%d,%d,%d)" % colour, "-draw",
                      "rectangle %d,%d %d,%d" % (left, top, right - 1, bottom - 1), prefix + target])
        if result.returncode:
            raise RuntimeError(result.stderr)


GIMP_SAVES = {
    "default BMP": '(file-bmp-save RUN-NONINTERACTIVE image drawable target target)',
    "BMP with RLE": '(file-bmp-save2 RUN-NONINTERACTIVE image drawable target target 1 1 3)',
    "PNG": '(file-png-save-defaults RUN-NONINTERACTIVE image drawable target target)',
}


def gimp(cases, variant):
    left, top, right, bottom = BLOCK
    steps = []
    for source, target, colour in cases:
        steps.append(
            '(let* ((image (car (gimp-file-load RUN-NONINTERACTIVE "%s" "%s")))'
            ' (drawable (car (gimp-image-get-active-drawable image))) (target "%s"))'
            ' (gimp-context-set-foreground (list %d %d %d))'
            ' (gimp-image-select-rectangle image CHANNEL-OP-REPLACE %d %d %d %d)'
            ' (gimp-drawable-edit-fill drawable FILL-FOREGROUND) %s)'
            % (source, source, target, *colour, left, top, right - left, bottom - top, GIMP_SAVES[variant]))
    result = run(["gimp-console", "-i", "-d", "-f", "-b", "(begin %s)" % " ".join(steps), "-b", "(gimp-quit 0)"],
                 timeout=240)
    if result.returncode or not all(os.path.exists(target) for _, target, _ in cases):
        raise RuntimeError(result.stderr[-2000:])


PILLOW_SCRIPT = r"""
import sys
from PIL import Image, ImageDraw
mode, source, target, r, g, b, left, top, right, bottom = sys.argv[1:]
image = Image.open(source)
image.load()
if mode in ("RGB", "RGBA"):
    image = image.convert(mode)
colour = (int(r), int(g), int(b))
if image.mode == "P":
    table = image.getpalette()
    fill = next(i for i in range(len(table) // 3) if tuple(table[3 * i:3 * i + 3]) == colour)
else:
    fill = colour + ((255,) if image.mode == "RGBA" else ())
ImageDraw.Draw(image).rectangle((int(left), int(top), int(right) - 1, int(bottom) - 1), fill=fill)
image.save(target)
"""


def pillow(cases, variant):
    mode = {"same mode": "same", "RGB": "RGB", "RGBA": "RGBA", "PNG": "same"}[variant]
    for source, target, colour in cases:
        result = run([pillow_python(), "-c", PILLOW_SCRIPT, mode, source, target, *map(str, colour), *map(str, BLOCK)])
        if result.returncode:
            raise RuntimeError(result.stderr)


EDITORS = [
    ("ImageMagick", lambda: shutil.which("convert"), imagemagick, [("default", "bmp"), ("BMP3:", "bmp")]),
    ("GIMP", lambda: shutil.which("gimp-console"), gimp,
     [("default BMP", "bmp"), ("BMP with RLE", "bmp"), ("PNG", "png")]),
    ("Pillow", pillow_python, pillow, [("same mode", "bmp"), ("RGB", "bmp"), ("RGBA", "bmp"), ("PNG", "png")]),
]


def export(cli, data, folder, path):
    """The stored bitmap at PATH, as its export writes it."""
    result = run([cli, "--export-dir", folder, data, "export-bitmap", path])
    if result.returncode:
        raise RuntimeError(result.stdout + result.stderr)
    return os.path.join(folder, os.listdir(folder)[0])


def check(original, after, copy, reference):
    """What is wrong with the bitmap that came back (empty when nothing is),
    and how many pixels took a colour of the table for one it lacks."""
    offset, width, height, table, _ = stored_bitmap(original)
    if len(after) != len(original) or after[:offset] != original[:offset]:
        return "its header, colour table or length changed", 0
    if copy != after:
        return "its copy did not follow", 0
    got = stored_bitmap(after)[4]
    nearest = 0
    for want, have in zip(reference, got):
        if want == have:
            continue
        if table and want not in table and have in table:
            nearest += 1
            continue
        return "a pixel is %s where the editor saved %s" % (have, want), nearest
    return "", nearest


def reference_pixels(painted_file, width, height, fallback):
    """The editor's picture as ImageMagick reads it, or what it was asked to paint."""
    if not shutil.which("convert"):
        return fallback
    result = subprocess.run(["convert", painted_file, "-alpha", "off", "-depth", "8", "rgb:-"], capture_output=True)
    raw = result.stdout
    if result.returncode or len(raw) != width * height * 3:
        return fallback
    return [tuple(raw[3 * i:3 * i + 3]) for i in range(width * height)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--data", required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="paint-round-trip-")
    failures, outcomes = [], []
    try:
        data = os.path.join(work, "start.bfp")
        subprocess.run([args.data, data], check=True)
        stored = {}
        for kind, path, _ in KINDS:
            folder = os.path.join(work, "stored", path.replace("/", "-"))
            os.makedirs(folder)
            stored[path] = export(args.cli, data, folder, path)
        for editor, present, paint, variants in EDITORS:
            if not present():
                print("SKIPPED: %s is not installed; its round trips did not run" % editor)
                continue
            for variant, extension in variants:
                cases = []
                for kind, path, copy_path in KINDS:
                    case = os.path.join(work, editor, variant.replace(" ", "-").replace(":", ""), path.replace("/", "-"))
                    os.makedirs(case)
                    name = os.path.splitext(os.path.basename(stored[path]))[0]
                    colour = paint_colour(stored_bitmap(open(stored[path], "rb").read())[3])
                    cases.append((stored[path], os.path.join(case, name + "." + extension), colour))
                paint(cases, variant)
                for (kind, path, copy_path), (source, target, colour) in zip(KINDS, cases):
                    label = "%s %s, %s" % (editor, variant, kind)
                    outcomes.append(round_trip(args.cli, data, label, path, copy_path, source, target, colour,
                                               extension, failures))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for line in outcomes:
        print(line)
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


def round_trip(cli, start, label, path, copy_path, source, target, colour, extension, failures):
    case = os.path.dirname(target)
    data = os.path.join(case, "data.bfp")
    shutil.copy(start, data)
    original = open(source, "rb").read()
    _, width, height, _, pixels = stored_bitmap(original)
    result = run([cli, "--export-dir", case, data, "import-bitmap-from", extension, path, "save"])
    if result.returncode:
        if open(data, "rb").read() != open(start, "rb").read():
            failures.append(label + ": refused, but the data file changed")
        return "%s: refused in words: %s" % (label, result.stdout.strip().splitlines()[-1])
    after = open(export(cli, data, os.path.join(case, "after"), path), "rb").read()
    copy = open(export(cli, data, os.path.join(case, "copy"), copy_path), "rb").read()
    reference = reference_pixels(target, width, height, painted(width, height, pixels, colour))
    edited = open(target, "rb").read()
    if after == edited and copy == edited:
        return "%s: came back byte for byte (the file has the bitmap's length and layout)" % label
    problem, nearest = check(original, after, copy, reference)
    if problem:
        failures.append("%s: %s" % (label, problem))
        return "%s: came back wrong" % label
    return "%s: came back as painted%s" % (label, ", %d pixels took the nearest colour" % nearest if nearest else "")


if __name__ == "__main__":
    sys.exit(main())
