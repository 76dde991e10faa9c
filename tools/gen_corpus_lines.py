#!/usr/bin/python3
"""Writes tests/data/corpus/expected_lines.txt: the powder lines of every structure of the corpus
(tests/data/corpus/*.cif), computed independently of the program by python3-cctbx.

The file is read by iotbx.cif (python3-cctbx), and its tags are interpreted here:
  * block: every data block with atom sites (_atom_site_fract_x), numbered from 1 in file order
    as braxel-calc --entry numbers them;
  * group: the listed operations (_space_group_symop_operation_xyz, _symmetry_equiv_pos_as_xyz)
    generate it, unless one of them is listed twice; without them the Hall symbol, the Hermann-Mauguin symbol (cctbx's symbol
    reader; markup removed; a centred lattice the tables do not combine with the rest of the
    symbol adds its centring to the primitive symbol's group; rhombohedral axes for a
    rhombohedral cell), the International Tables number;
  * species: the type symbol's element and charge, else the longest leading element symbol of
    the label in any case (water labels Wat, OW are O); the form factor is the 1992 tables' entry
    of that ion when cctbx holds one, else the neutral atom's (deuterium: hydrogen's), with the
    anomalous terms of the neutral atom from the tables tools/gen_fscat.py takes them from, at
    the Cu Ka1 wavelength 1.540562 A, as data/fscat holds them;
  * displacement: B = 8 pi^2 Uiso (the value is B where the site's adp type says Biso), or Biso;
    without either, Ueq of the anisotropic U or B tensor (cctbx.adptbx); without any, B = 0.5;
  * occupancy 1 unless given; images of a site closer than 0.1 A are one position.
Lines: every reflection of the Laue class (Friedel pairs one form) with 2theta from 10 to 120
degrees, I = m Lp (|F(hkl)|^2 + |F(-h-k-l)|^2) / 2 with Lp = (1 + cos^2 2theta) /
(sin^2 theta cos theta); reflections whose 2theta differ by less than 0.002 degrees are one line
(intensities summed); the strongest line is 100.
A block with more than 80 atom sites, or more than 3000 reflections in the range, is refused by
the program; the file says so instead of giving lines.

Usage: gen_corpus_lines.py [--out PATH] [CIF ...]
"""

import argparse
import glob
import math
import os
import re
import subprocess
import sys
import warnings

warnings.filterwarnings("ignore")

import gemmi  # noqa: E402
import iotbx.cif  # noqa: E402
import libtbx.version  # noqa: E402
import periodictable  # noqa: E402
from cctbx import adptbx, crystal, miller, sgtbx, uctbx, xray  # noqa: E402
from cctbx.array_family import flex  # noqa: E402
from cctbx.eltbx import xray_scattering  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_fscat  # noqa: E402

LAMBDA = 1.540562
TWO_THETA_START = 10.0
TWO_THETA_END = 120.0
SAME_LINE = 0.002
SPECIAL_DISTANCE = 0.1
MAX_ATOMS = 80
MAX_REFLECTIONS = 3000
DEFAULT_B = 0.5
ELEMENTS = {periodictable.elements[z].symbol for z in range(1, 99)} | {"D"}


def value(text):
    """The number of a CIF value: 0.1234(5) is 0.1234, 1/4 is 0.25; None for ?, . or text."""
    if text is None:
        return None
    text = str(text).strip().strip("'\"")
    m = re.match(r"^([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)(\(\d+\))?$", text)
    if m:
        return float(m.group(1))
    m = re.match(r"^([+-]?\d+)/(\d+)$", text)
    if m and int(m.group(2)) != 0:
        return int(m.group(1)) / int(m.group(2))
    return None


def first(block, *tags):
    for tag in tags:
        if tag in block:
            v = block[tag]
            if not isinstance(v, str):
                v = v[0]
            if v not in ("?", "."):
                return v.strip().strip("'\"")
    return None


def column(block, tag):
    if tag not in block:
        return None
    v = block[tag]
    return [v] if isinstance(v, str) else list(v)


def leading_element(text):
    for n in (2, 1):
        head = text[:n]
        if len(head) == n and head.isalpha():
            symbol = head[0].upper() + head[1:].lower()
            if symbol in ELEMENTS:
                return symbol, n
    return None, 0


def is_water(text):
    t = text.lower()
    return t.startswith("wat") or t.startswith("ow")


def species(type_symbol, label):
    """Element and charge of a site."""
    if type_symbol:
        if is_water(type_symbol):
            return "O", 0
        element, n = leading_element(type_symbol)
        if element:
            rest = type_symbol[n:]
            m = re.fullmatch(r"(\d+)([+-])|([+-])(\d+)|([+-])", rest)
            if not m:
                return element, 0
            if m.group(5):
                return element, 1 if m.group(5) == "+" else -1
            digits = m.group(1) or m.group(4)
            sign = m.group(2) or m.group(3)
            return element, int(digits) * (1 if sign == "+" else -1)
    if is_water(label):
        return "O", 0
    element, _ = leading_element(label)
    if not element:
        raise RuntimeError("no element in label " + label)
    return element, 0


def scattering_label(element, charge):
    """The 1992 tables' entry: the ion where cctbx has it, else the neutral atom."""
    if element == "D":
        return "H"
    if charge:
        ion = "%s%d%s" % (element, abs(charge), "+" if charge > 0 else "-")
        try:
            if xray_scattering.it1992(ion, True).label() == ion:
                return ion
        except (ValueError, RuntimeError):
            pass
    return element


def clean_symbol(symbol):
    s = re.sub(r"[~_()'\"]", "", symbol).strip()
    return re.sub(r"\s*/\s*", "/", s)


def group_of_symbol(symbol, cell):
    s = clean_symbol(symbol)
    rhombohedral = (abs(cell[3] - cell[4]) < 1e-4 and abs(cell[4] - cell[5]) < 1e-4
                    and abs(cell[3] - 90) > 1e-4)
    candidates = [s]
    if s[:1].upper() == "R" and ":" not in s and rhombohedral:
        candidates.insert(0, s + ":R")
    for text in candidates:
        try:
            return sgtbx.space_group_info(symbol=text).group()
        except RuntimeError:
            pass
    # A centred lattice with a primitive symbol's rotations: A -1, B 1 21 1.
    if s[:1].upper() in "ABCIFR":
        try:
            g = sgtbx.space_group_info(symbol="P" + s[1:]).group()
        except RuntimeError:
            return None
        centred = sgtbx.space_group(g)
        twelfths = {"A": [(0, 6, 6)], "B": [(6, 0, 6)], "C": [(6, 6, 0)], "I": [(6, 6, 6)],
                    "F": [(0, 6, 6), (6, 0, 6), (6, 6, 0)], "R": [(8, 4, 4), (4, 8, 8)]}
        for t in twelfths[s[0].upper()]:
            centred.expand_ltr(sgtbx.tr_vec(t, 12).new_denominator(centred.t_den()))
        return centred
    return None


def fraction_text(op):
    """Decimals of a listed operation as the 24ths they stand for (x+0.5, z+0.3333)."""
    def repl(m):
        v = float(m.group(0))
        n = round(v * 24)
        if abs(v * 24 - n) > 0.05 * 24:
            raise RuntimeError("translation " + m.group(0))
        g = math.gcd(n, 24)
        return "%d/%d" % (n // g, 24 // g)
    return re.sub(r"\d*\.\d+", repl, op.strip().strip("'\"").replace(" ", ""))


def space_group(block, cell):
    ops = column(block, "_space_group_symop_operation_xyz") or \
        column(block, "_symmetry_equiv_pos_as_xyz")
    ops = [sgtbx.rt_mx(fraction_text(o)) for o in (ops or []) if o not in ("?", ".")]
    # A list that holds one operation twice (modulo whole translations) is no group's list.
    if ops and len({str(o.mod_positive()) for o in ops}) == len(ops):
        g = sgtbx.space_group()
        for op in ops:
            g.expand_smx(op)
        return g
    hall = first(block, "_space_group_name_Hall", "_symmetry_space_group_name_Hall")
    if hall:
        return sgtbx.space_group(hall.replace("_", " "))
    symbol = first(block, "_space_group_name_H-M_alt", "_symmetry_space_group_name_H-M")
    if symbol:
        g = group_of_symbol(symbol, cell)
        if g is not None:
            return g
    number = first(block, "_space_group_IT_number", "_symmetry_Int_Tables_number")
    if number:
        info = sgtbx.space_group_info(number=int(number))
        if info.type().number() in (146, 148, 155, 160, 161, 166, 167) and \
                abs(cell[3] - cell[5]) < 1e-4 and abs(cell[3] - 90) > 1e-4:
            info = sgtbx.space_group_info(symbol=str(info).split(":")[0] + ":R")
        return info.group()
    raise RuntimeError("no space group")


def atom_sites(block, unit_cell):
    labels = column(block, "_atom_site_label")
    xs = column(block, "_atom_site_fract_x")
    n = len(xs)
    get = lambda tag: column(block, tag) or [None] * n  # noqa: E731
    types = get("_atom_site_type_symbol")
    labels = labels or [t or "" for t in types]
    ys, zs = get("_atom_site_fract_y"), get("_atom_site_fract_z")
    occ, uiso, biso = get("_atom_site_occupancy"), get("_atom_site_U_iso_or_equiv"), \
        get("_atom_site_B_iso_or_equiv")
    flags = get("_atom_site_calc_flag")
    adp_types = column(block, "_atom_site_adp_type") or get("_atom_site_thermal_displace_type")
    aniso = {}
    for kind in ("U", "B"):
        alabels = column(block, "_atom_site_aniso_label") or []
        tensors = [column(block, "_atom_site_aniso_%s_%s" % (kind, ij))
                   for ij in ("11", "22", "33", "12", "13", "23")]
        if not any(tensors):
            continue
        for i, label in enumerate(alabels):
            u = [value(t[i]) if t else None for t in tensors]
            if all(v is None for v in u) or label in aniso:
                continue
            u = [v or 0.0 for v in u]
            if kind == "B":
                u = [v / (8 * math.pi ** 2) for v in u]
            aniso[label] = adptbx.u_star_as_u_iso(unit_cell, adptbx.u_cif_as_u_star(unit_cell, u))
    sites = []
    for i in range(n):
        if flags[i] == "dum":
            continue
        t = types[i] if types[i] not in (None, "?", ".") else ""
        label = labels[i] if labels[i] not in (None, "?", ".") else t
        if uiso[i] is not None and value(uiso[i]) is not None:
            # A type Biso says the U column holds B.
            given_as_b = (adp_types[i] or "").startswith("B")
            u = value(uiso[i]) / (8 * math.pi ** 2 if given_as_b else 1)
        elif biso[i] is not None and value(biso[i]) is not None:
            u = value(biso[i]) / (8 * math.pi ** 2)
        elif label in aniso:
            u = aniso[label]
        else:
            u = DEFAULT_B / (8 * math.pi ** 2)
        o = value(occ[i])
        sites.append((label, species(t, label), (value(xs[i]), value(ys[i]), value(zs[i])),
                      1.0 if o is None else o, u))
    return sites


def lines_of(block):
    cell = tuple(value(first(block, "_cell_" + t)) for t in
                 ("length_a", "length_b", "length_c", "angle_alpha", "angle_beta", "angle_gamma"))
    unit_cell = uctbx.unit_cell(cell)
    sites = atom_sites(block, unit_cell)
    if len(sites) > MAX_ATOMS:
        return "refused Number of species exceeds over 80 !!!"
    symmetry = crystal.symmetry(unit_cell=unit_cell, space_group=space_group(block, cell))
    settings = crystal.special_position_settings(symmetry,
                                                 min_distance_sym_equiv=SPECIAL_DISTANCE)
    scatterers = flex.xray_scatterer()
    gaussians, anomalous = {}, {}
    for label, (element, charge), site, occupancy, u in sites:
        kind = scattering_label(element, charge)
        gaussians[kind] = xray_scattering.it1992(kind, True).fetch()
        if element not in anomalous:
            z = 1 if element == "D" else periodictable.elements.symbol(element).number
            terms, _ = gen_fscat.anomalous("H" if element == "D" else element, z)
            cu = [w for _, w in gen_fscat.KA1].index(LAMBDA)
            anomalous[element] = terms[2 * cu], terms[2 * cu + 1]
        fp, fdp = anomalous[element]
        scatterers.append(xray.scatterer(label=label, site=site, u=u, occupancy=occupancy,
                                         scattering_type=kind, fp=fp, fdp=fdp))
    structure = xray.structure(special_position_settings=settings, scatterers=scatterers)
    structure.scattering_type_registry(custom_dict=gaussians)
    d_min = LAMBDA / (2 * math.sin(math.radians(TWO_THETA_END / 2)))
    d_max = LAMBDA / (2 * math.sin(math.radians(TWO_THETA_START / 2)))
    forms = miller.build_set(symmetry, anomalous_flag=False, d_min=d_min) \
        .remove_systematic_absences().resolution_filter(d_max=d_max)
    if forms.size() > MAX_REFLECTIONS:
        return "refused Number of reflections exceeds over 3000 !!!"
    both = forms.generate_bivoet_mates()
    f = both.structure_factors_from_scatterers(structure, algorithm="direct").f_calc()
    amplitude = dict(zip(f.indices(), flex.abs(f.data())))
    reflections = []
    for hkl, m, d in zip(forms.indices(), forms.multiplicities().data(), forms.d_spacings().data()):
        # A centric form has no Bijvoet mate of its own: |F(-h-k-l)| = |F(hkl)|.
        minus = amplitude.get(tuple(-i for i in hkl), amplitude[hkl])
        f2 = (amplitude[hkl] ** 2 + minus ** 2) / 2
        theta = math.asin(LAMBDA / (2 * d))
        lp = (1 + math.cos(2 * theta) ** 2) / (math.sin(theta) ** 2 * math.cos(theta))
        reflections.append((math.degrees(2 * theta), m * lp * f2))
    reflections.sort()
    lines = []
    for two_theta, intensity in reflections:
        if lines and two_theta - lines[-1][2] < SAME_LINE:
            lines[-1][1] += intensity
            lines[-1][2] = two_theta
        else:
            lines.append([two_theta, intensity, two_theta])
    top = max(i for _, i, _ in lines)
    return [(t, 100 * i / top) for t, i, _ in lines]


class GemmiBlock:
    """A block read by python3-gemmi, looked up as iotbx.cif's blocks are."""

    def __init__(self, block):
        self.block = block

    def __contains__(self, tag):
        return len(self.block.find_values(tag)) > 0

    def __getitem__(self, tag):
        return [gemmi.cif.as_string(v) if v not in ("?", ".") else v
                for v in self.block.find_values(tag)]


def read_blocks(path, notes):
    """The blocks of the file: iotbx.cif's; gemmi's where iotbx.cif refuses the file."""
    # Files from journals and databases hold bytes past ASCII in their prose, which the
    # parser refuses: they become "?".
    with open(path, "rb") as f:
        text = f.read().decode("ascii", "replace").replace("\ufffd", "?")
    try:
        model = iotbx.cif.reader(input_string=text, strict=False).model()
        return [model[name] for name in model.keys()]
    except Exception as error:  # iotbx reports a Sorry or a parser error
        notes.append("# %s: read by gemmi %s; iotbx.cif refuses it: %s"
                     % (os.path.basename(path), gemmi.__version__, str(error).splitlines()[0]))
        # As the file stands: a tag given twice keeps its first value.
        document = gemmi.cif.Document()
        document.parse_string(text)
        return [GemmiBlock(b) for b in document]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default="tests/data/corpus/expected_lines.txt")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    files = args.files or sorted(glob.glob("tests/data/corpus/*.cif"))
    cctbx_package = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "python3-cctbx"],
                                   capture_output=True, text=True).stdout
    out = ["# Powder lines from tools/gen_corpus_lines.py: iotbx.cif and cctbx of python3-cctbx %s"
           " (libtbx %s), periodictable %s" % (cctbx_package, libtbx.version.get_version(),
                                              periodictable.__version__),
           "# 'file NAME entry N', then 'refused MESSAGE' or one line per powder line:"
           " '2theta intensity' (Cu Ka1, strongest 100)"]
    for path in files:
        notes = []
        try:
            blocks = read_blocks(path, notes)
        except Exception as error:
            sys.exit("%s: %s" % (path, error))
        out.extend(notes)
        entry = 0
        for block in blocks:
            if "_atom_site_fract_x" not in block:
                continue
            entry += 1
            out.append("file %s entry %d" % (os.path.basename(path), entry))
            try:
                result = lines_of(block)
            except Exception as error:
                sys.exit("%s entry %d: %s" % (path, entry, error))
            if isinstance(result, str):
                out.append(result)
            else:
                out.extend("%.4f %.3f" % (t, i) for t, i in result if i >= 0.0005)
    with open(args.out, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
