#!/usr/bin/python3
"""Writes tests/data/NaCl.out, the report expected for NaCl (F m -3 m, a = 5.6402, Cu, 2theta
20 to 50, Na and Cl with the 1992 International Tables coefficients, B = 0, no anomalous terms),
from textbook formulas written here independently of the program: d = a / sqrt(h^2+k^2+l^2),
F = 4 (f_Na + f_Cl) for h, k, l all even and 4 |f_Na - f_Cl| for all odd, Lp =
(1 + cos^2 2theta) / (sin^2 theta cos theta), Ka2 lines from d and f rounded to seven digits.

Usage: gen_nacl_report.py [--out PATH]
"""

import argparse
import math

A = 5.6402
KA1, KA2 = 1.540562, 1.54439
NA = (22.9898, (4.7626, 3.2850, 3.1736, 8.8422, 1.2674, 0.3136, 1.1128, 129.424), 0.6760)
CL = (35.453, (11.4604, 0.0104, 7.1964, 1.1662, 6.2556, 18.5194, 1.6455, 47.7784), -9.5574)
FORMS = [(1, 1, 1, 8), (2, 0, 0, 6), (2, 2, 0, 12)]
DEG = 0.0174532925  # the program's degree factor; 2theta is printed in its degrees


def f0(atom, s2):
    _, ab, c = atom
    return sum(ab[i] * math.exp(-ab[i + 1] * s2) for i in range(0, 8, 2)) + c


def r7(value):
    return float("%.6e" % value)


def two_theta(d, lam):
    return 2 * math.asin(lam / (2 * d)) / DEG


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default="tests/data/NaCl.out")
    args = parser.parse_args()
    rows = []
    for h, k, l, m in FORMS:
        d = A / math.sqrt(h * h + k * k + l * l)
        s2 = 1 / (4 * d * d)
        fna, fcl = f0(NA, s2), f0(CL, s2)
        F = 4 * (fna + fcl) if h % 2 == 0 else 4 * abs(fna - fcl)
        for code, lam, dd in ((1, KA1, d), (2, KA2, float("%.6e" % d))):
            if code == 2:  # the Ka2 copy carries f to seven digits
                F = 4 * (r7(fna) + r7(fcl)) if h % 2 == 0 else 4 * abs(r7(fna) - r7(fcl))
            tt = two_theta(dd, lam)
            t = math.radians(tt)
            lp = (1 + math.cos(t) ** 2) / (2 * math.sin(t / 2) ** 2 * math.cos(t / 2))
            rows.append([tt, h, k, l, code, dd, F, F * F * lp * m * (0.5 if code == 2 else 1), m])
    rows.sort()
    top = max(r[7] for r in rows)
    volume = A ** 3
    weight = 4 * (NA[0] + CL[0])
    out = []
    p = out.append
    p(" ***************************************************\n")
    p(" * Generation of reflections for X-ray diffraction *\n")
    p(" ***************************************************\n\n")
    p("  ================================================\n")
    p("    Space group No.     : 225 (setting No.1)\n")
    p("    2-theta range (deg) : from  20.00 to  50.00\n")
    for name, value in (("a(A)", A), ("b(A)", A), ("c(A)", A)):
        p("    Lattice parameters: %s = %8.4f\n" % (name, value) if name == "a(A)"
          else "                        %s = %8.4f\n" % (name, value))
    for name in ("alpha(deg)", "beta (deg)", "gamma(deg)"):
        p("                  %s = %8.4f\n" % (name, 90.0))
    p("                  volume(A3) =%9.4f\n" % volume)
    p("  ================================================\n\n")
    p("  ===================================\n")
    p("    Target     : Cu\n")
    p("    Wavelength : Ka1(A) = %8.6f\n" % KA1)
    p("                 Ka2(A) = %8.6f\n" % KA2)
    p("  ===================================\n\n")
    p("  ================================\n")
    p("    Crystal system  = cubic\n")
    p("    Space group     = F m -3 m\n")
    p("    Unique axis     = no\n")
    p("    Laue group      = m3m\n")
    p("    Point group     = m-3m\n")
    p("    Centrosymmetric = yes\n")
    p("    General sites   = 192\n")
    p("  ================================\n\n")
    p("  ================================\n")
    p("    Symmetry codes  :\n")
    p("  --------------------------------\n")
    codes = ["x,y,z", "-x,-y,z", "-x,y,-z", "x,-y,-z", "z,x,y", "z,-x,-y", "-z,-x,y", "-z,x,-y",
             "y,z,x", "-y,z,-x", "y,-z,-x", "-y,-z,x", "y,x,-z", "-y,-x,-z", "y,-x,z", "-y,x,z",
             "x,z,-y", "-x,z,y", "-x,-z,-y", "x,-z,y", "z,y,-x", "z,-y,x", "-z,y,x", "-z,-y,-x"]
    for i, code in enumerate(codes, 1):
        p("    %2d. %s\n" % (i, code))
    p("  ================================\n\n")
    p("  ================================\n")
    p("    Reflection conditions :\n")
    p("  --------------------------------\n")
    p("     1. hkl : h,k,l odd/even\n")
    p("  ================================\n\n")
    p("    Coordinates in asymmetric unit :\n")
    p("   ===========================================================\n")
    p("      Atom   Weight    sof      x       y       z      biso\n")
    p("   -----------------------------------------------------------\n")
    p("        Na   22.9898  0.02083  0.0000  0.0000  0.0000  0.0000\n")
    p("        Cl   35.4530  0.02083  0.5000  0.5000  0.5000  0.0000\n")
    p("   ===========================================================\n\n")
    p("   =================================\n")
    p("    Formula and density :\n")
    p("      Formula : Na1 Cl1 \n")
    p("      Z       : 4\n")
    p("      Weight  : %10.4f (g/mol)\n" % weight)
    p("      Density : %10.4f (g/cm3)\n" % (weight / (volume * 0.602214076)))
    p("   =================================\n\n")
    p("    Coordinates in unit cell:\n")
    p("   =================================\n")
    p("      Atom      x       y       z\n")
    p("   ---------------------------------\n")
    for name, sites in (("Na", [(0, 0, 0), (0, .5, .5), (.5, 0, .5), (.5, .5, 0)]),
                        ("Cl", [(.5, .5, .5), (.5, 0, 0), (0, .5, 0), (0, 0, .5)])):
        for x, y, z in sites:
            p("      %-4s  %7.4f %7.4f %7.4f\n" % (name, x, y, z))
        p("      ------------------------------\n")
    p("\n")
    p(" Genarated reflections:\n")
    p(" ================================================================\n")
    p("   No.   h   k   l  code  2Th(deg)  d(A)     |Fcal|    Ical  mult\n")
    p(" ----------------------------------------------------------------\n")
    for n, (tt, h, k, l, code, d, F, i, m) in enumerate(rows, 1):
        p(" %5d %3d %3d %3d %3d  %8.4f %8.4f %10.4f %7.2f  %2d\n"
          % (n, h, k, l, code, tt, d, F, i * 100 / top, m))
    p(" ================================================================\n")
    with open(args.out, "w") as f:
        f.write("".join(out))


if __name__ == "__main__":
    main()
