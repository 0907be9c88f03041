#!/usr/bin/python3
"""The picture decoders against the public BMP and TGA suites.

usage: pictures.py QV70CLI TESTDATA_DIR

Each suite file goes through `qv70cli picture IN OUT.bmp`. A file our rules
accept must decode to the pixels Pillow (an independent decoder) sees in it,
or in its PNG rendering for the TGA suite; OUT.bmp is read back with Pillow.
Every other file must be refused cleanly: exit status 1, one line
'cannot load picture "IN": ...' on standard error, nothing on standard output
and no OUT.bmp. The bad and questionable BMPs may also decode, as long as the
result is a sound picture of the size the header gives. Exits 1 on any
mismatch, 2 when the suites are missing.
"""

import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

# Files of the good BMP set that the rules refuse, and why.
BMP_GOOD_REFUSED = {
    "pal4rle.bmp": "run-length compression",
    "pal8rle.bmp": "run-length compression",
    "pal8os2.bmp": "12-byte core header",
    "pal8topdown.bmp": "rows stored top first",
    "rgb32bf.bmp": "32-bit bit fields other than 8-bit red, green, blue",
}

# TGA files the rules refuse: grey with alpha, 8- and 16-bit map entries, short files.
TGA_REFUSED = {
    "200x32_la_bl_raw.tga", "200x32_la_bl_rle.tga", "200x32_la_tl_raw.tga", "200x32_la_tl_rle.tga",
    "extra/la.tga", "extra/p_16.tga", "extra/p_8.tga", "extra/cross_scan_line_truncated.tga",
}


class Checker:
    def __init__(self, cli, work):
        self.cli = cli
        self.work = work
        self.failures = []
        self.count = 0

    def fail(self, path, why):
        self.failures.append(f"{path}: {why}")

    def run(self, path):
        """Decodes `path`; (exit status, stdout, stderr, OUT path)."""
        self.count += 1
        out = os.path.join(self.work, f"out{self.count}.bmp")
        done = subprocess.run([self.cli, "picture", path, out], capture_output=True, text=True, timeout=30)
        return done.returncode, done.stdout, done.stderr, out

    def expect_refused(self, path, result=None):
        status, stdout, stderr, out = result or self.run(path)
        if status != 1:
            self.fail(path, f"expected a refusal, got exit status {status}")
        elif stdout or not stderr.startswith(f'cannot load picture "{path}": ') or stderr.count("\n") != 1:
            self.fail(path, f"unclean refusal: stdout {stdout!r}, stderr {stderr!r}")
        elif os.path.exists(out):
            self.fail(path, "a refused picture still wrote OUT.bmp")

    def decoded(self, path):
        """Pillow's RGB reading of what qv70cli wrote for `path`, or None after a failure."""
        status, stdout, stderr, out = self.run(path)
        if status != 0:
            self.fail(path, f"refused: {stderr.strip()}")
            return None
        fields = stdout.rstrip("\n").split("\t")
        with Image.open(out) as written:
            image = written.convert("RGB")
        if len(fields) != 5 or fields[0] != "picture" or (int(fields[1]), int(fields[2])) != image.size:
            self.fail(path, f"printed {stdout!r} for a picture of {image.size}")
            return None
        return image

    def expect_pixels(self, path, reference):
        image = self.decoded(path)
        if image is None:
            return
        with Image.open(reference) as expected_file:
            expected = expected_file.convert("RGB")  # alpha is not ours to show; grey becomes RGB
        if image.size != expected.size:
            self.fail(path, f"size {image.size}, expected {expected.size}")
            return
        ours, theirs = list(image.getdata()), list(expected.getdata())
        wrong = [i for i in range(len(ours)) if ours[i] != theirs[i]]
        if wrong:
            i = wrong[0]
            x, y = i % image.size[0], i // image.size[0]
            self.fail(path, f"{len(wrong)} pixels differ, first ({x}, {y}): {ours[i]} not {theirs[i]}")

    def expect_refused_or_sound(self, path):
        result = self.run(path)
        status, stdout, _, out = result
        if status != 0:
            self.expect_refused(path, result)
            return
        # Read as bytes: Pillow knows only some 16-bit mask layouts the decoder keeps.
        with open(out, "rb") as written:
            data = written.read()
        declared, width, height = struct.unpack_from("<I", data, 2)[0], *struct.unpack_from("<ii", data, 18)
        if data[:2] != b"BM" or declared != len(data):
            self.fail(path, f"OUT.bmp is not a whole BMP file ({len(data)} bytes, {declared} declared)")
        elif stdout.split("\t")[1:3] != [str(width), str(height)]:
            self.fail(path, f"printed {stdout!r} for a picture of {width} x {height}")


def files(folder, extension):
    return sorted(name for name in os.listdir(folder) if name.endswith(extension))


def check_bmp_suite(checker, suite):
    good = os.path.join(suite, "g")
    for name in files(good, ".bmp"):
        path = os.path.join(good, name)
        if name in BMP_GOOD_REFUSED:
            checker.expect_refused(path)
        else:
            checker.expect_pixels(path, path)
    for folder in ("b", "q", "x"):
        for name in files(os.path.join(suite, folder), ".bmp"):
            checker.expect_refused_or_sound(os.path.join(suite, folder, name))


def check_tga_suite(checker, suite):
    for relative in files(suite, ".tga") + ["extra/" + name for name in files(os.path.join(suite, "extra"), ".tga")]:
        path = os.path.join(suite, relative)
        if relative in TGA_REFUSED:
            checker.expect_refused(path)
            continue
        # {width}x{height}_{mode}_{origin}_{compression}.tga has {width}x{height}_{mode}.png;
        # the extra files are compared with their own PNG, else with Pillow's reading.
        rendering = os.path.join(suite, "_".join(relative.split("_")[:2]) + ".png")
        if relative.startswith("extra/"):
            rendering = path[: -len(".tga")] + ".png"
        checker.expect_pixels(path, rendering if os.path.exists(rendering) else path)


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    cli, testdata = sys.argv[1], sys.argv[2]
    bmp_suite, tga_suite = os.path.join(testdata, "bmpsuite"), os.path.join(testdata, "tga")
    if not os.path.isdir(bmp_suite) or not os.path.isdir(tga_suite):
        print(f"pictures.py: no bmpsuite/ and tga/ in {testdata}", file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory() as work:
        checker = Checker(cli, work)
        check_bmp_suite(checker, bmp_suite)
        check_tga_suite(checker, tga_suite)
    for failure in checker.failures:
        print("FAILED:", failure, file=sys.stderr)
    print(f"pictures: {checker.count} files, {len(checker.failures)} failures")
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
