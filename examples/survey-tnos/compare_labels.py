#!/usr/bin/python3
"""The survey's verdict against a classification of trans-Neptunian objects.

Usage: compare_labels.py SURVEY.csv MPC_FILE LABELS.csv [model|pendulum]

SURVEY.csv  tandem-survey's rows (every candidate, not --best) for the bodies of MPC_FILE
MPC_FILE    the MPC orbit file surveyed (its packed designations key the labels)
LABELS.csv  which_des (packed designation), which_resonance (32, 21, 52, other,
            not_resonant): I. C. Matheson's TNO resonance identification (MIT licence)

The model's verdict for a body ("in a zone"): the candidates whose trajectory librates or
is a horseshoe (model_regime; with "pendulum", those whose global pendulum zone holds it,
pendulum_zone); its own resonance when labelled 32, 21 or 52. Prints the confusion table,
the objects labelled not resonant split by their orbits (not by the labels): scattering-like
(perihelion q < 33 au, near enough to Neptune to be scattered), detached-like (a > 50 au,
q >= 33 au) and classical-like (the rest), and the labelled resonant objects the model
misses, with their eccentricity.
The labels are used to check, never to tune anything per body.
"""
import sys

import pandas as pd


def mpc_names(path):
    names = {}
    with open(path) as f:
        for line in f:
            if len(line) < 103:
                continue
            packed = line[0:7].strip()
            readable = line[166:194].strip() if len(line) > 166 else ""
            names[readable or packed] = packed
    return names


def orbits(path):
    out = {}
    with open(path) as f:
        for line in f:
            if len(line) >= 103:
                a, e = float(line[92:103]), float(line[70:79])
                out[line[0:7].strip()] = (a, e, a * (1 - e))
    return out


def population(a, q):
    if q < 33:
        return "not_resonant, scattering-like"
    if a > 50:
        return "not_resonant, detached-like"
    return "not_resonant, classical-like"


def main(survey_csv, mpc_file, labels_csv, verdict_column="model"):
    rows = pd.read_csv(survey_csv)
    if verdict_column == "model":
        rows["in_zone"] = rows["model_regime"] != "circulation"
    else:
        rows["in_zone"] = rows["pendulum_zone"]
    labels = pd.read_csv(labels_csv, dtype=str).set_index("which_des")["which_resonance"]
    packed_of = mpc_names(mpc_file)
    rows["packed"] = rows["body"].map(packed_of)
    zones = rows[rows["in_zone"]]
    close = rows[rows["in_zone"] & rows["close_encounter"]].groupby("packed").size()
    in_zone = zones.groupby("packed").apply(
        lambda g: {f"{k2}{k1}" for k2, k1 in zip(g["k2"], g["k1"])})
    candidates = rows.groupby("packed").apply(
        lambda g: {f"{k2}{k1}" for k2, k1 in zip(g["k2"], g["k1"])})
    surveyed = set(packed_of.values())
    orbit = orbits(mpc_file)
    table = {}
    missed = []
    flagged = {}  # objects in some zone whose trajectory reaches a close-encounter band
    for des, label in labels.items():
        if des not in surveyed:
            continue
        zs = in_zone.get(des, set())
        cands = candidates.get(des, set())
        if label in ("32", "21", "52"):
            if label not in cands:
                verdict = "not a candidate"
            elif label in zs:
                verdict = "in own zone"
            elif zs:
                verdict = "in another zone"
            else:
                verdict = "in no zone"
            if verdict != "in own zone":
                missed.append((des, label, verdict, orbit[des][1]))
        else:
            verdict = "in some zone" if zs else "in no zone"
        table.setdefault(label, {}).setdefault(verdict, 0)
        table[label][verdict] += 1
        if label == "not_resonant":
            a, _, q = orbit[des]
            table.setdefault(population(a, q), {}).setdefault(verdict, 0)
            table[population(a, q)][verdict] += 1
        if zs and des in close.index:
            flagged[label] = flagged.get(label, 0) + 1
    cols = ["in own zone", "in another zone", "in some zone", "in no zone", "not a candidate"]
    print("| label | objects | " + " | ".join(cols) + " |")
    print("|---|---:|" + "---:|" * len(cols))
    for label in ["32", "21", "52", "other", "not_resonant", "not_resonant, classical-like",
                  "not_resonant, detached-like", "not_resonant, scattering-like"]:
        t = table.get(label, {})
        n = sum(t.values())
        cells = [f"{t.get(c, 0)} ({100 * t.get(c, 0) / n:.1f} %)" if t.get(c, 0) else "" for c in cols]
        print(f"| {label} | {n} | " + " | ".join(cells) + " |")
    print()
    for label, n in flagged.items():
        print(f"in a zone whose trajectory reaches a close-encounter band: {n} labelled {label}")
    for des, label, verdict, e in missed:
        print(f"missed: {des} labelled {label}, {verdict}, e = {e}")


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    main(*sys.argv[1:])
