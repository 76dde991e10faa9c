#!/usr/bin/python3
"""Writes the scattering-factor file data/fscat (three lines per species).

Sources (versions printed when run):
  * a1 b1 a2 b2 a3 b3 a4 b4 c: the four-Gaussian coefficients of International Tables
    Vol. C (1992), Table 6.1.1.4, as python3-cctbx holds them
    (cctbx.eltbx.xray_scattering.it1992).  Printed as the shortest decimal of the stored
    single-precision value, which is the value the table prints.
  * Deltaf1, Deltaf2: python3-cctbx's Sasaki (1989) tables (cctbx.eltbx.sasaki) at the Ka1
    wavelengths of Cr, Fe, Co, Cu, Mo and Ag.  Sasaki has no H, He and Po to Pa: those take
    the Henke tables of python3-cctbx (cctbx.eltbx.henke).  Neither table has Np to Cf:
    those take the Sasaki values of U, the heaviest element either table holds.
  * atomic weight: python3-periodictable (elements[Z].mass).
  * species: every element H to Cf and every ion of the 1992 tables (not the special
    entries Hiso, Cval, Sival), plus every oxidation state that python3-pymatgen lists for
    an element (Element.oxidation_states) that the 1992 tables lack; such an ion is a copy
    of its neutral atom (coefficients, weight and anomalous terms).  Ions of the tables
    take the anomalous terms of their neutral atom.  Deuterium (D) scatters X-rays as
    hydrogen: it has hydrogen's coefficients and anomalous terms and its own weight
    (python3-periodictable's D.mass).
Records are in byte order of their names, so a lookup by leading characters meets a
species' own record before any longer name that begins with it (O before O1- and Os).

Usage: gen_fscat.py [--out PATH]
"""

import argparse
import re
import sys
import warnings

import numpy as np

warnings.filterwarnings("ignore")

import periodictable  # noqa: E402
from cctbx.eltbx import henke, sasaki, xray_scattering  # noqa: E402
from pymatgen.core.periodic_table import Element  # noqa: E402

# Ka1 wavelengths (angstrom) of the run's targets 1 to 6.
KA1 = (("Cr", 2.2897), ("Fe", 1.936042), ("Co", 1.788965), ("Cu", 1.540562),
       ("Mo", 0.7093), ("Ag", 0.5594075))
LAST_Z = 98  # Cf
SPECIAL = {"Hiso", "Cval", "Sival"}
NAME_WIDTH = 6  # the weight is read from the seventh character on
MAX_LINE = 120


def short(v):
    return np.format_float_positional(np.float32(v), trim="-")


def anomalous_table(symbol, z):
    """Sasaki where it has the element, else Henke, else U's Sasaki table."""
    for name, mod, label in (("sasaki", sasaki, symbol), ("henke", henke, symbol)):
        try:
            table = mod.table(label, True)
        except ValueError:
            continue
        if table.atomic_number() == z:
            return table, name
    table = sasaki.table("U", True)
    return table, "sasaki U"


def anomalous(symbol, z):
    """Deltaf1, Deltaf2 at each target, and the name of the table used."""
    table, used = anomalous_table(symbol, z)
    values = []
    for _, wavelength in KA1:
        f = table.at_angstrom(wavelength)
        values += [f.fp(), f.fdp()]
    return values, used


def gaussian(label):
    g = xray_scattering.it1992(label, True).fetch()
    a, b = g.array_of_a(), g.array_of_b()
    if len(a) != 4:
        raise RuntimeError(label + " is not a four-Gaussian entry")
    return [a[0], b[0], a[1], b[1], a[2], b[2], a[3], b[3], g.c()]


def ion_name(symbol, charge):
    return "%s%d%s" % (symbol, abs(charge), "+" if charge > 0 else "-")


def build():
    table_labels = [e.label() for e in xray_scattering.it1992_iterator()]
    table_labels = [x for x in table_labels if x not in SPECIAL]
    species = {}  # name -> (z, coefficients, copy of neutral?, atomic weight)
    symbol_of = {z: periodictable.elements[z].symbol for z in range(1, LAST_Z + 1)}
    z_of = {s: z for z, s in symbol_of.items()}
    for label in table_labels:
        m = re.fullmatch(r"([A-Z][a-z]?)(\d[+-])?", label)
        if not m or m.group(1) not in z_of:
            raise RuntimeError("unexpected 1992 table label " + label)
        z = z_of[m.group(1)]
        species[label] = (z, gaussian(label), False, periodictable.elements[z].mass)
    missing = [s for s in symbol_of.values() if s not in species]
    if missing:
        raise RuntimeError("1992 tables lack " + ", ".join(missing))
    copies = []
    for z in range(1, LAST_Z + 1):
        symbol = symbol_of[z]
        for q in Element.from_Z(z).oxidation_states:
            if q == 0:
                continue
            name = ion_name(symbol, q)
            if name not in species:
                species[name] = (z, species[symbol][1], True, periodictable.elements[z].mass)
                copies.append(name)
    species[periodictable.D.symbol] = (1, species["H"][1], False, periodictable.D.mass)
    return species, copies, symbol_of


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default="data/fscat")
    args = ap.parse_args()
    species, copies, symbol_of = build()
    anomalous_of, sources = {}, {}
    for z, symbol in symbol_of.items():
        anomalous_of[z], used = anomalous(symbol, z)
        sources.setdefault(used, []).append(symbol)
    lines = []
    names = sorted(species, key=lambda s: s.encode("ascii"))
    for name in names:
        z, coeff, _, weight = species[name]
        if len(name) >= NAME_WIDTH:
            raise RuntimeError("name %s leaves no blank before the weight" % name)
        lines.append("%-*s%.5f" % (NAME_WIDTH, name, weight))
        lines.append(" ".join(short(v) for v in coeff))
        lines.append(" ".join("%.4f" % v for v in anomalous_of[z]))
    bad = [l for l in lines if len(l) > MAX_LINE]
    if bad:
        raise RuntimeError("line longer than %d characters: %s" % (MAX_LINE, bad[0]))
    # Each species' own record must be the first whose line begins with its name.
    for name in names:
        first = next(n for n in names if n.startswith(name))
        if first != name:
            raise RuntimeError("%s is found as %s" % (name, first))
    with open(args.out, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    ions = [n for n in names
            if not species[n][2] and n not in symbol_of.values() and species[n][0] != 1]
    print("cctbx it1992/sasaki/henke, periodictable %s, pymatgen oxidation states" %
          periodictable.__version__)
    print("%d records: %d elements, %d ions of the 1992 tables, %d copies of the neutral atom"
          % (len(names), len(symbol_of), len(ions), len(copies)))
    print("copies: " + " ".join(sorted(copies, key=lambda s: s.encode("ascii"))))
    for used, symbols in sorted(sources.items()):
        if used != "sasaki":
            print("anomalous terms from %s: %s" % (used, " ".join(symbols)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
