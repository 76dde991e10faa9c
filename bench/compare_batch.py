#!/usr/bin/python3
"""A batch of structure files: one braxel-calc -j 2 call against a Python loop over the same
files with pymatgen (read, then XRDCalculator.get_pattern), Cu, 2theta 5-150, step 0.02.
Runs with Debian's python3 (python3-pymatgen).

    bench/compare_batch.py [BRAXEL_CALC] [FILES]

The files are made from the structures of tests/data/regression and examples with their cells
stretched by up to 2 %. braxel-calc runs before and after the loop; the mean of the two is
compared.
"""
import glob
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

from pymatgen.analysis.diffraction.xrd import XRDCalculator

from compare_pymatgen import ROOT, arguments, read_inp, settings


def make_files(folder, count):
    sources = sorted(glob.glob(os.path.join(ROOT, "tests/data/regression/*.inp")) +
                     glob.glob(os.path.join(ROOT, "examples/*.inp")))
    texts = [open(path).read().split("\n") for path in sources]
    rng = random.Random(18)
    paths = []
    for n in range(count):
        lines = list(texts[n % len(texts)])
        cell = [float(v) for v in lines[2].split()]
        stretch = 1 + rng.uniform(-0.02, 0.02)
        lines[2] = "".join(f"{v * stretch:10.5f} " for v in cell[:3]) + \
            "".join(f"{v:10.5f} " for v in cell[3:])
        path = os.path.join(folder, f"s{n:04d}.inp")
        open(path, "w").write("\n".join(lines))
        paths.append(path)
    return paths


def main():
    calc, count = arguments(1000)
    folder = tempfile.mkdtemp()
    try:
        settings(folder)
        paths = make_files(folder, count)
        command = [calc, "-j", "2", "--out-dir", os.path.join(folder, "results")] + paths

        def braxel():
            start = time.perf_counter()
            done = subprocess.run(command, cwd=folder, capture_output=True, text=True)
            elapsed = time.perf_counter() - start
            if done.returncode != 0:
                sys.exit(done.stderr)
            return elapsed

        first = braxel()
        xrd = XRDCalculator("CuKa")
        start = time.perf_counter()
        for path in paths:
            xrd.get_pattern(read_inp(path), two_theta_range=(5, 150))
        python = time.perf_counter() - start
        ours = (first + braxel()) / 2
        print(f"{count} files: braxel-calc -j 2 {ours:.2f} s, Python loop with pymatgen "
              f"{python:.1f} s, ratio {python / ours:.0f}")
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
