"""Scan a few resonances of the Hilda example and draw R(sigma) - Rmin of each.

The asteroid of examples/hilda-3-2 is put at exact resonance with Jupiter for each K2:K1 in
turn (its semi-major axis follows from the resonance), and the strength, the widths and the
stable equilibria of each are printed; the curves go into one picture.

    PYTHONPATH=<prefix>/lib/python3.11/site-packages /usr/bin/python3 scan_hilda.py [out.png]
"""
import math
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")
from matplotlib.figure import Figure

import tandem

HERE = pathlib.Path(__file__).resolve().parent
RESONANCES = [(2, 1), (5, 3), (3, 2), (7, 5), (4, 3)]


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path("hilda-scan.png")
    system = tandem.read_input(HERE.parent / "hilda-3-2" / "tandem.inp")
    fig = Figure(figsize=(10, 2.6 * len(RESONANCES)))
    print(f"{'K2:K1':>6} {'a1 (au)':>10} {'strength':>12} {'Da1 (au)':>10}  stable equilibria")
    for row, (k2, k1) in enumerate(RESONANCES):
        res = tandem.solve(system, k2=k2, k1=k1)
        stable = ", ".join(f"{q.sigma:g} deg ({q.period_years:.0f} yr)"
                           for q in res.equilibria if q.stable and not math.isnan(q.period_years))
        print(f"{k2:>3}:{k1:<2} {res.a1_au:10.4f} {res.strength:12.4e} {res.width_a1_au:10.4f}  "
              f"{stable or '-'}")
        tandem.plot(res, ax=fig.add_subplot(len(RESONANCES), 1, row + 1))
    fig.tight_layout()
    fig.savefig(out, dpi=100)
    print(f"picture: {out}")


if __name__ == "__main__":
    main()
