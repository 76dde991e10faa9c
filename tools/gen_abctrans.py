#!/usr/bin/python3
"""Writes the axis-setting table data/ABCTrans (monoclinic and orthorhombic settings).

Source: gemmi (python3-gemmi, version printed when run).  Every field is gemmi's symbol for
the operations of setting 1 of data/tabsg carried into that field's axes by the setting
matrices of the axis conversion; the unique-axis-a fields of the monoclinic groups are
gemmi's own unique-axis-a settings.  So converting from any field's setting to setting 1
lands on the standard description.  Position 10 holds the symbol of setting 1 in tabsg.

Checks (exit non-zero on failure): every field fits its 10 columns, every field's
operations are those of a gemmi setting of the same group, and reading the file back by
its column positions gives the symbols written.

Usage: gen_abctrans.py [--out PATH]
"""

import argparse
import os
import sys

import gemmi

sys.dont_write_bytecode = True  # keep tools/ free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_tabsg as tabsg  # noqa: E402  (shares the setting matrices and setting-1 symbols)

FIELD = 10
MONO_HEADING = ("No        Standard   b-axis     b-axis     c-axis     c-axis     "
                "a-axis     a-axis")


SHIFTED = []  # (group, field) whose gemmi setting has its origin elsewhere


def shifted_set(op_set, shift):
    """The operations seen from an origin moved by shift (1/24 units): t + (R - I) s."""
    out = set()
    for rot, tran in op_set:
        t = []
        for i in range(3):
            rs = sum(rot[3 * i + j] * shift[j] for j in range(3))
            t.append((tran[i] + rs - shift[i]) % tabsg.DEN)
        out.add((rot, tuple(t)))
    return out


ORTHO_LABEL = {1: "", 2: "ba-c", 3: "cab", 4: "-cba", 5: "bca", 6: "a-cb"}


def carried_name(number, base, matrix, where, qualifier=None):
    cob, _ = tabsg.basis_op(matrix)
    ops = base.operations()
    ops.change_basis_forward(cob)
    target = tabsg.full_op_set(ops)
    # gemmi also keeps a few origin-shifted variants under unconventional names
    # ("P 21212(a)"); those are not symbols anyone writes.
    entries = [sg for sg in tabsg.gemmi_entries_of(number) if "(" not in sg.hm and ")" not in sg.hm]
    hits = [sg for sg in entries if tabsg.full_op_set(sg.operations()) == target]
    if not hits:
        # The axes are right but gemmi's setting puts the origin elsewhere (a screw axis
        # moved by a quarter, say); the symbol does not depend on the origin.
        steps = range(0, tabsg.DEN, 3)
        for sg in entries:
            ref = tabsg.full_op_set(sg.operations())
            if any(shifted_set(target, (x, y, z)) == ref
                   for x in steps for y in steps for z in steps):
                hits.append(sg)
        if hits:
            SHIFTED.append((number, where, hits[0].hm))
    if len({sg.hm for sg in hits}) > 1 and qualifier is not None:
        # Groups with a double glide plane (e) have two names for one description;
        # take the one gemmi files under this axis setting.
        hits = [sg for sg in hits if sg.qualifier == qualifier]
    names = {sg.hm for sg in hits}
    if len(names) != 1:
        raise RuntimeError("group %d %s: gemmi names %s" % (number, where, sorted(names)))
    return hits[0]


def unique_a(number, qualifier):
    hits = [sg for sg in tabsg.gemmi_entries_of(number) if sg.qualifier == qualifier]
    if len(hits) != 1:
        raise RuntimeError("group %d: no gemmi setting %s" % (number, qualifier))
    return hits[0]


def line_of(fields):
    """fields: {position: text}; every field padded to its full width."""
    end = max(p + (FIELD if p else 0) for p in fields)
    buf = [" "] * end
    for pos, text in fields.items():
        width = FIELD if pos else 10
        if len(text) > width:
            raise RuntimeError("field too wide: %r" % text)
        buf[pos:pos + len(text)] = text
    return "".join(buf)


def build():
    standard = {}
    setting1_ops = {}
    for r in tabsg.build_records():
        if r["setting"] == 1 and 3 <= r["number"] <= 74:
            standard[r["number"]] = r["symbol"]
            setting1_ops[r["number"]] = r["sg"]
    lines = ["Monoclinic", MONO_HEADING]
    expect = []  # (line index, position, symbol) for the read-back check
    for number in range(3, 16):
        base = setting1_ops[number]
        if number in tabsg.THREE_CELL_MONOCLINIC:
            for cell in range(1, 4):
                b = carried_name(number, base, tabsg.MONOCLINIC_MATRIX[cell], "b%d" % cell)
                c = carried_name(number, base, tabsg.MONOCLINIC_MATRIX[3 + cell], "c%d" % cell)
                a = unique_a(number, "a%d" % cell)
                for sg, q in ((b, "b%d" % cell), (c, "c%d" % cell)):
                    if sg.qualifier != q:
                        raise RuntimeError("group %d: %s is not %s" % (number, sg.hm, q))
                fields = {21: b.hm, 43: c.hm, 65: a.hm}
                if cell == 1:
                    fields[0] = str(number)
                    fields[10] = standard[number]
                lines.append(line_of(fields))
                expect += [(len(lines) - 1, p, t) for p, t in fields.items()]
        else:
            names = {}
            for pos, mindex, q in ((21, 1, "b"), (32, 2, "b"), (43, 4, "c"), (54, 5, "c")):
                sg = carried_name(number, base, tabsg.MONOCLINIC_MATRIX[mindex], "field %d" % pos)
                if sg.qualifier != q:
                    raise RuntimeError("group %d: %s is not unique axis %s" % (number, sg.hm, q))
                names[pos] = sg.hm
            names[65] = names[76] = unique_a(number, "a").hm
            fields = {0: str(number), 10: standard[number]}
            fields.update(names)
            lines.append(line_of(fields))
            expect += [(len(lines) - 1, p, t) for p, t in fields.items()]
    lines.append("Orthorhombic")
    for number in range(16, 75):
        base = setting1_ops[number]
        fields = {0: str(number)}
        for k in range(1, 7):
            sg = carried_name(number, base, tabsg.ORTHORHOMBIC_MATRIX[k], "setting %d" % k,
                              ORTHO_LABEL[k])
            fields[10 + 11 * (k - 1)] = sg.hm
        if fields[10] != standard[number]:
            raise RuntimeError("group %d: abc field %s is not the table's %s" %
                               (number, fields[10], standard[number]))
        lines.append(line_of(fields))
        expect += [(len(lines) - 1, p, t) for p, t in fields.items()]
    return lines, expect


def check(path, expect):
    with open(path, newline="") as f:
        lines = f.read().split("\n")[:-1]
    bad = 0
    for i, pos, text in expect:
        got = lines[i][pos:pos + FIELD].rstrip() if pos else lines[i][:2].rstrip()
        if got != text:
            print("line %d position %d: %r, expected %r" % (i + 1, pos, got, text))
            bad += 1
    for i, line in enumerate(lines):
        if len(line) > 89:
            print("line %d longer than 89 characters" % (i + 1))
            bad += 1
    return bad


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default="data/ABCTrans")
    args = ap.parse_args()
    lines, expect = build()
    with open(args.out, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    bad = check(args.out, expect)
    for number, where, name in SHIFTED:
        print("group %d %s: %s up to an origin shift" % (number, where, name))
    print("gemmi %s: %d lines, %d fields checked, %d mismatches" %
          (gemmi.__version__, len(lines), len(expect), bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
