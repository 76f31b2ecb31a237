#!/usr/bin/env python3
"""The edit round trip with the 3-D programs users edit in, run as black boxes.

Every model of the data file is exported, converted by each program (assimp
with its post-processing presets, 3DS to 3DS and through OBJ; osgconv 3DS to
3DS and through OBJ), one vertex of the converted file is moved, and the file
is imported, saved and exported again. A case passes when the faces of the
new export (corners in order, mapping coordinates, texture) are those of the
file imported, or when the import refused the file in words and the data
file stayed as it was. A missing program is skipped with a line saying so.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

PRESETS = ["", "-ptv", "-jiv", "-rrm", "-og", "-om", "-cfull"]
POSITION_SLACK = 0.0101  # the model keeps whole hundredths, cut toward zero
MAPPING_SLACK = 2.5 / 65536  # and mapping coordinates in 16.16 fixed point


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=120, **options)


def conversions():
    """Each conversion as (name, function of (source, target 3DS path) giving an error or None)."""
    steps = []

    def chain(*commands):
        def convert(source, target):
            work, current = os.path.dirname(target), source
            for index, (program, extension, options) in enumerate(commands):
                out = target if index == len(commands) - 1 else os.path.join(work, "step%d.%s" % (index, extension))
                command = [program, "export", current, out] + options if program == "assimp" else \
                    [program, current, out]
                result = run([c for c in command if c], cwd=os.path.dirname(source))
                if result.returncode != 0 or not os.path.exists(out):
                    return "%s failed: %s" % (" ".join(command), (result.stderr or result.stdout).strip()[-300:])
                current = out
            return None
        return convert

    if shutil.which("assimp"):
        for preset in PRESETS:
            flags = [preset] if preset else []
            steps.append(("assimp 3ds %s" % preset, chain(("assimp", "3ds", flags))))
            steps.append(("assimp obj %s" % preset, chain(("assimp", "obj", flags), ("assimp", "3ds", flags))))
    else:
        print("SKIPPED: assimp is not installed (Debian package assimp-utils)")
    if shutil.which("osgconv"):
        steps.append(("osgconv 3ds", chain(("osgconv", "3ds", []))))
        steps.append(("osgconv obj", chain(("osgconv", "obj", []), ("osgconv", "3ds", []))))
    else:
        print("SKIPPED: osgconv is not installed (Debian package openscenegraph)")
    return steps


def models(cli, data):
    listing = run([cli, data, "records"]).stdout.splitlines()
    return [(line.split("\t")[0], line.split("\t")[-1]) for line in listing if line.split("\t")[2:3] == ["3"]
            and line.split("\t")[0].count("/") == 1]


def faces(tool, path):
    result = run([tool, "faces", path])
    if result.returncode != 0:
        return None
    return [line.split(" | ") for line in result.stdout.splitlines()]


def texture_stem(name):
    last = name.replace("\\", "/").rsplit("/", 1)[-1].lower()
    return last.rsplit(".", 1)[0]


def corner_differs(imported, exported):
    got, want = exported.split(), imported.split()
    if any(abs(float(a) - float(b)) > POSITION_SLACK for a, b in zip(got[:3], want[:3])):
        return True
    if want[3] == "none":
        return False
    # The export writes mapping coordinates as magnitudes.
    return any(abs(abs(float(a)) - abs(float(b))) > MAPPING_SLACK for a, b in zip(got[3:], want[3:]))


def same_face(want, got):
    if any(corner_differs(w, g) for w, g in zip(want[:3], got[:3])):
        return False
    return want[3] == "-" or texture_stem(want[3]) == texture_stem(got[3])


def compare(imported, exported):
    """Each imported face must come out again, its corners in order and its
    texture kept; the import may put faces back in the model's own order."""
    if len(imported) != len(exported):
        return "%d faces imported, %d exported again" % (len(imported), len(exported))
    left = list(exported)
    for index, want in enumerate(imported):
        match = next((got for got in left if same_face(want, got)), None)
        if match is None:
            return "face %d: %s (texture %s) is not among the faces exported again" % (
                index, " | ".join(want[:3]), want[3])
        left.remove(match)
    return None


def round_trip(args, work, path, label, converted, original):
    """'ok', 'refused: ...' or 'WRONG: ...' for one converted file."""
    # The export folder is the program folder's bfp/<data file name>.
    data = os.path.join(work, "data.bfp")
    imported_dir, again_dir = os.path.join(work, "in", "bfp", "data"), os.path.join(work, "again", "bfp", "data")
    os.makedirs(imported_dir)
    os.makedirs(again_dir)
    shutil.copy(args.data, data)
    shutil.copy(converted, os.path.join(imported_dir, label + ".3ds"))
    moved = run([args.faces, "move", os.path.join(imported_dir, label + ".3ds")]).returncode == 0
    result = run([args.cli, "--program-dir", os.path.join(work, "in"), data, "import-model", path, "save"])
    messages = [line for line in result.stdout.splitlines() if line.startswith("message [Import Model]")]
    if result.returncode != 0:
        with open(data, "rb") as kept:
            unchanged = kept.read() == original
        if messages and messages[0].startswith("message [Import Model] Cannot import") and unchanged:
            return "refused: " + messages[0].split("] ", 1)[1].split("\\n")[0]
        return "WRONG: failed without a refusal in words or changed the data file: " + (result.stdout + result.stderr)
    if not moved:
        return "WRONG: the toolkit cannot read the file, yet the import took it"
    run([args.cli, "--program-dir", os.path.join(work, "again"), data, "export-model", path])
    want = faces(args.faces, os.path.join(imported_dir, label + ".3ds"))
    got = faces(args.faces, os.path.join(again_dir, label + ".3ds"))
    if want is None or got is None:
        return "WRONG: the files cannot be compared"
    difference = compare(want, got)
    return "WRONG: " + difference if difference else "ok"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--faces", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--keep", help="leave the files of every case in this folder")
    args = parser.parse_args()
    with open(args.data, "rb") as source:
        original = source.read()
    root = args.keep or tempfile.mkdtemp(prefix="pallix-interop-")
    stem = os.path.splitext(os.path.basename(args.data))[0]
    exports = os.path.join(root, "exports", "bfp", stem)
    os.makedirs(exports)
    targets = models(args.cli, args.data)
    command = [args.cli, "--program-dir", os.path.join(root, "exports"), args.data]
    for path, _ in targets:
        command += ["export-model", path]
    if run(command).returncode != 0:
        print("the export of the demo models failed")
        return 1
    counts, wrong = {}, 0
    for number, (name, convert) in enumerate(conversions()):
        for path, label in targets:
            work = os.path.join(root, "case%d-%s" % (number, label))
            os.makedirs(work)
            converted = os.path.join(work, label + ".3ds")
            error = convert(os.path.join(exports, label + ".3ds"), converted)
            outcome = ("skipped: " + error) if error else round_trip(args, work, path, label, converted, original)
            print("%-18s %-8s %s" % (name, label, outcome))
            counts[outcome.split(":")[0]] = counts.get(outcome.split(":")[0], 0) + 1
            wrong += outcome.startswith("WRONG")
    print("round trips: " + ", ".join("%s %d" % item for item in sorted(counts.items())))
    if not args.keep:
        shutil.rmtree(root, ignore_errors=True)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
