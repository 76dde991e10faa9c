#!/usr/bin/python3
"""Writes tests/data/reference_f.txt: |F| of every reflection up to 2theta 70 degrees (lambda
1.39222, the single "Kb" line, which takes no anomalous terms) of three structures, computed
by python3-cctbx with its 1992 International Tables form factors (it1992), isotropic B and no
anomalous scattering, as an independent reference for the run's |Fcal|.

Usage: gen_reference_f.py [--out PATH]
"""

import argparse
import math

from cctbx import crystal, miller, xray
from cctbx.array_family import flex

LAMBDA = 1.39222
TWO_THETA_END = 70.0

# name, space-group symbol as cctbx reads it, number, setting of the program's table, cell,
# atoms (species, x, y, z, B).
STRUCTURES = [
    ("pyrite", "P a -3", 205, 1, (5.417, 5.417, 5.417, 90, 90, 90),
     [("Fe", 0, 0, 0, 0.3), ("S", 0.385, 0.385, 0.385, 0.4)]),
    ("scheelite", "I 41/a :2", 88, 2, (5.243, 5.243, 11.376, 90, 90, 90),
     [("Ca", 0, 0.25, 0.625, 0.5), ("W", 0, 0.25, 0.125, 0.3),
      ("O", 0.2413, 0.1511, 0.0861, 0.6)]),
    ("quartz", "P 32 2 1", 154, 1, (4.913, 4.913, 5.405, 90, 90, 120),
     [("Si", 0.4697, 0, 0, 0.5), ("O", 0.4135, 0.2669, 0.1191, 0.8)]),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default="tests/data/reference_f.txt")
    args = parser.parse_args()
    d_min = LAMBDA / (2 * math.sin(math.radians(TWO_THETA_END / 2)))
    lines = [
        "# |F| from python3-cctbx 2022.9, it1992 form factors, B isotropic, no anomalous",
        "# structure block: 'structure name number setting a b c alpha beta gamma atom-count', then one"
        " line per atom 'species x y z B', then 'h k l |F|' lines up to d_min %.6f" % d_min,
    ]
    for name, symbol, number, setting, cell, atoms in STRUCTURES:
        symmetry = crystal.symmetry(unit_cell=cell, space_group_symbol=symbol)
        scatterers = flex.xray_scatterer()
        for species, x, y, z, b in atoms:
            scatterers.append(xray.scatterer(species, site=(x, y, z),
                                             u=b / (8 * math.pi ** 2)))
        structure = xray.structure(crystal_symmetry=symmetry, scatterers=scatterers)
        structure.scattering_type_registry(table="it1992")
        # Every h k l of the sphere: the structure expanded to P 1 and the full index set.
        p1 = structure.expand_to_p1()
        indices = miller.build_set(crystal_symmetry=p1.crystal_symmetry(), anomalous_flag=True,
                                   d_min=d_min)
        f_calc = indices.structure_factors_from_scatterers(p1, algorithm="direct").f_calc()
        lines.append("structure %s %d %d %s %d" % (name, number, setting,
                                                  " ".join("%g" % v for v in cell), len(atoms)))
        for species, x, y, z, b in atoms:
            lines.append("%s %g %g %g %g" % (species, x, y, z, b))
        for (h, k, l), value in zip(f_calc.indices(), f_calc.data()):
            lines.append("%d %d %d %.6f" % (h, k, l, abs(value)))
    with open(args.out, "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
