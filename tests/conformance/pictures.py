#!/usr/bin/python3
"""The picture decoders against the public BMP and TGA suites.

usage: pictures.py QV70CLI TESTDATA_DIR

Each file goes through `qv70cli picture IN OUT.bmp`. A file within our rules
must decode to the pixels Pillow, an independent decoder, sees in it (or in
its PNG rendering, for the TGA suite); OUT.bmp is read back with Pillow. Any
other file must be refused cleanly: exit status 1, the one line
'cannot load picture "IN": ...' on standard error, no output, no OUT.bmp. The
bad and questionable BMPs may instead decode to a whole BMP of the size
printed. Exits 1 on any failure, 2 without the suites.
"""

import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

# The good BMPs outside the rules: run-length, the 12-byte core header, rows
# top first, 32-bit bit fields other than 8-bit red, green, blue.
BMP_GOOD_REFUSED = {"pal4rle.bmp", "pal8rle.bmp", "pal8os2.bmp", "pal8topdown.bmp", "rgb32bf.bmp"}
# TGAs outside the rules: grey with alpha, map entries of 16 or 8 bits, files cut short.
TGA_REFUSED = {"200x32_la_bl_raw.tga", "200x32_la_bl_rle.tga", "200x32_la_tl_raw.tga", "200x32_la_tl_rle.tga",
               "extra/la.tga", "extra/p_16.tga", "extra/p_8.tga", "extra/cross_scan_line_truncated.tga"}


class Checker:
    def __init__(self, cli, work):
        self.cli, self.work, self.count, self.failures = cli, work, 0, []

    def run(self, path):
        self.count += 1
        out = os.path.join(self.work, f"out{self.count}.bmp")
        done = subprocess.run([self.cli, "picture", path, out], capture_output=True, text=True, timeout=30)
        return done.returncode, done.stdout, done.stderr, out

    def check(self, path, problem):
        if problem:
            self.failures.append(f"{path}: {problem}")

    def refusal_problem(self, path, status, stdout, stderr, out):
        if status != 1:
            return f"exit status {status}, not a refusal"
        if stdout or not stderr.startswith(f'cannot load picture "{path}": ') or stderr.count("\n") != 1:
            return f"unclean refusal: {stdout!r}, {stderr!r}"
        return "OUT.bmp written" if os.path.exists(out) else None

    def expect_refused(self, path):
        self.check(path, self.refusal_problem(path, *self.run(path)))

    def expect_pixels(self, path, reference):
        status, stdout, stderr, out = self.run(path)
        if status != 0:
            return self.check(path, f"refused: {stderr.strip()}")
        with Image.open(out) as written, Image.open(reference) as expected:
            # Alpha is not ours to show; grey becomes RGB.
            ours, theirs = written.convert("RGB"), expected.convert("RGB")
        if stdout.split("\t")[1:3] != [str(n) for n in ours.size] or ours.size != theirs.size:
            return self.check(path, f"printed {stdout!r}, wrote {ours.size}, expected {theirs.size}")
        wrong = [i for i, (a, b) in enumerate(zip(ours.getdata(), theirs.getdata())) if a != b]
        if wrong:
            x, y = wrong[0] % ours.size[0], wrong[0] // ours.size[0]
            self.check(path, f"{len(wrong)} pixels differ, first at ({x}, {y})")

    def expect_refused_or_whole(self, path):
        status, stdout, stderr, out = self.run(path)
        if status != 0:
            return self.check(path, self.refusal_problem(path, status, stdout, stderr, out))
        # Read as bytes: Pillow knows only some of the 16-bit masks the decoder keeps.
        with open(out, "rb") as written:
            data = written.read()
        size, width, height = struct.unpack_from("<I", data, 2)[0], *struct.unpack_from("<ii", data, 18)
        if data[:2] != b"BM" or size != len(data) or stdout.split("\t")[1:3] != [str(width), str(height)]:
            self.check(path, f"printed {stdout!r}, wrote {len(data)} bytes of {width} x {height}")


def names(folder, extension):
    return sorted(name for name in os.listdir(folder) if name.endswith(extension))


def check_suites(checker, bmp_suite, tga_suite):
    for name in names(os.path.join(bmp_suite, "g"), ".bmp"):
        path = os.path.join(bmp_suite, "g", name)
        if name in BMP_GOOD_REFUSED:
            checker.expect_refused(path)
        else:
            checker.expect_pixels(path, path)
    for folder in ("b", "q", "x"):
        for name in names(os.path.join(bmp_suite, folder), ".bmp"):
            checker.expect_refused_or_whole(os.path.join(bmp_suite, folder, name))
    extra = ["extra/" + name for name in names(os.path.join(tga_suite, "extra"), ".tga")]
    for name in names(tga_suite, ".tga") + extra:
        path = os.path.join(tga_suite, name)
        # {w}x{h}_{mode}_{origin}_{coding}.tga is rendered as {w}x{h}_{mode}.png; an extra
        # file as its own name's PNG where there is one, else Pillow reads the TGA itself.
        rendering = os.path.join(tga_suite, "_".join(name.split("_")[:2]) + ".png")
        if name in extra:
            rendering = path[: -len(".tga")] + ".png"
        if name in TGA_REFUSED:
            checker.expect_refused(path)
        else:
            checker.expect_pixels(path, rendering if os.path.exists(rendering) else path)


def main():
    if len(sys.argv) != 3:
        print("usage: pictures.py QV70CLI TESTDATA_DIR", file=sys.stderr)
        return 2
    bmp_suite, tga_suite = (os.path.join(sys.argv[2], name) for name in ("bmpsuite", "tga"))
    if not os.path.isdir(bmp_suite) or not os.path.isdir(tga_suite):
        print(f"pictures.py: no bmpsuite/ and tga/ in {sys.argv[2]}", file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory() as work:
        checker = Checker(sys.argv[1], work)
        check_suites(checker, bmp_suite, tga_suite)
    for failure in checker.failures:
        print("FAILED:", failure, file=sys.stderr)
    print(f"pictures: {checker.count} files, {len(checker.failures)} failures")
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
