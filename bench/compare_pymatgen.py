#!/usr/bin/python3
"""Side-by-side timing: braxel-calc as a whole process (read, calculate, write Braxel.out and
Braxel.prf; Cu, 2theta 5-150, step 0.02) against pymatgen's XRDCalculator.get_pattern alone on
the same structure, parsed beforehand. Runs with Debian's python3 (python3-pymatgen).

    bench/compare_pymatgen.py [BRAXEL_CALC] [ROUNDS]

Each round times one braxel-calc process and one get_pattern call per structure, in turn, so
that both meet the same load. Printed are the medians of the elapsed times and of the processor
times (user and system; for braxel-calc its child process's, which the load of a shared machine
disturbs less), and their ratios.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from pymatgen.analysis.diffraction.xrd import XRDCalculator
from pymatgen.core import Lattice, Structure

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STRUCTURES = ["tests/data/regression/triclinic.inp", "tests/data/regression/apatite.inp"]


def read_inp(path):
    """The space group, cell and atoms of a native input file, as pymatgen builds them."""
    lines = [line for line in open(path).read().split("\n") if line.strip()]
    number = int(lines[1].split()[0])
    cell = [float(v) for v in lines[2].split()]
    species, coords = [], []
    for line in lines[3:]:
        fields = line.split()
        species.append(fields[0].split("/")[-1].rstrip("+-0123456789"))
        coords.append([float(v) for v in fields[2:5]])
    return Structure.from_spacegroup(number, Lattice.from_parameters(*cell), species, coords,
                                     tol=0.01)


def settings(folder):
    """Braxel.ini of the bundled data with the range 5 to 150 at 0.02."""
    text = open(os.path.join(ROOT, "data", "Braxel.ini")).read()
    replaced = {"tabsg": os.path.join(ROOT, "data", "tabsg"),
                "fscat": os.path.join(ROOT, "data", "fscat"),
                "angmin": "5", "angmax": "150", "step": "0.02"}
    out = []
    for line in text.split("\n"):
        key = line.split("=")[0].strip()
        out.append(f"{key} = {replaced[key]}" if key in replaced and "=" in line else line)
    open(os.path.join(folder, "Braxel.ini"), "w").write("\n".join(out))


def arguments(count):
    """braxel-calc (the build's unless given) and the count, from the command line."""
    calc = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "bin", "braxel-calc")
    return os.path.abspath(calc), int(sys.argv[2]) if len(sys.argv) > 2 else count


def main():
    calc, rounds = arguments(15)
    folder = tempfile.mkdtemp()
    try:
        settings(folder)
        xrd = XRDCalculator("CuKa")
        for name in STRUCTURES:
            path = os.path.join(ROOT, name)
            structure = read_inp(path)
            xrd.get_pattern(structure, two_theta_range=(5, 150))  # warm up both
            subprocess.run([calc, path], cwd=folder, capture_output=True, check=True)
            ours, theirs, oursCpu, theirsCpu = [], [], [], []
            for _ in range(rounds):
                before = resource.getrusage(resource.RUSAGE_CHILDREN)
                start = time.perf_counter()
                subprocess.run([calc, path], cwd=folder, capture_output=True, check=True)
                ours.append(time.perf_counter() - start)
                after = resource.getrusage(resource.RUSAGE_CHILDREN)
                oursCpu.append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
                start, cpu = time.perf_counter(), time.process_time()
                xrd.get_pattern(structure, two_theta_range=(5, 150))
                theirs.append(time.perf_counter() - start)
                theirsCpu.append(time.process_time() - cpu)
            a, b = statistics.median(ours), statistics.median(theirs)
            c, d = statistics.median(oursCpu), statistics.median(theirsCpu)
            print(f"{os.path.basename(name)} ({len(structure)} atoms in the cell): elapsed "
                  f"braxel-calc {a * 1e3:.1f} ms, get_pattern {b * 1e3:.1f} ms, ratio {b / a:.1f}; "
                  f"processor {c * 1e3:.1f} ms, {d * 1e3:.1f} ms, ratio {d / c:.1f}")
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
