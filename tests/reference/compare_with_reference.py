"""Runs the built program on a set of systems and compares every output byte with the
independent evaluation of tandem_reference.py: rsigma.dat, the resonance.dat block and the
console lines after the line of three blanks.

Usage: compare_with_reference.py path/to/tandem
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

# name: (tandem.inp, K2, K1)
CASES = {
    "hilda 3:2": ("star\n1.0\nc\n3.97 0.10 5.0 100.0 30.0 1.0e-9\n"
                  "5.2 0.048 1.3 100.5 14.7 9.5e-4\n", "3", "2"),
    "two giants 2:1": ("star\n1.1\nc\n1.0 0.25 3.0 40.0 250.0 2.0e-3\n"
                       "2.1 0.15 1.0 10.0 -30.0 1.5e-3\n", "2", "1"),
    "eccentric inclined 4:3 with close encounters": (
        "star\n0.8\nc\n1.0 0.35 12.0 200.0 400.0 3.0e-4\n"
        "1.0 0.3 2.0 15.0 95.0 8.0e-4\n", "4", "3"),
    "non-whole 7.9:2.5": ("star\n1.0\nc\n1 0.2 1.0 30.0 60.0 1.0e-4\n"
                          "1.5 0.1 0.5 100.0 15.0 3.0e-4\n", "7.9", "2.5"),
    "co-orbital 1:1": ("star\n1.0\nc\n1.0 0.05 1.0 0.0 60.0 1.0e-5\n"
                       "1.0 0.02 0.5 0.0 0.0 1.0e-3\n", "1", "1"),
    "circular coplanar 2:1": ("star\n1.0\nc\n1 0 0 0 0 1e-6\n2 0 0 0 0 1e-3\n", "2", "1"),
}


def read(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def run_case(exe, name, inp, k2, k1):
    import tandem_reference
    with tempfile.TemporaryDirectory() as work:
        prog = os.path.join(work, "prog")
        ref = os.path.join(work, "ref")
        os.makedirs(prog)
        with open(os.path.join(prog, "tandem.inp"), "w") as f:
            f.write(inp)
        done = subprocess.run([exe], cwd=prog, input=f"{k2} {k1}\n", capture_output=True,
                              text=True, timeout=600)
        if done.returncode != 0 or done.stderr:
            return [f"{name}: status {done.returncode}, stderr {done.stderr!r}"]
        sys.argv = ["tandem_reference.py", os.path.join(prog, "tandem.inp"), k2, k1, ref]
        tandem_reference.main()
        marker = "\n    \n"  # the line of three blanks (four with the record's own)
        console_tail = done.stdout[done.stdout.index(marker) + len(marker):]
        faults = []
        for label, got, want in (
                ("rsigma.dat", read(os.path.join(prog, "rsigma.dat")),
                 read(os.path.join(ref, "rsigma.dat"))),
                ("resonance.dat", read(os.path.join(prog, "resonance.dat")),
                 read(os.path.join(ref, "resonance.dat"))),
                ("console", console_tail, read(os.path.join(ref, "console_tail")))):
            if got != want:
                g, w = got.splitlines(), want.splitlines()
                first = next((i for i in range(min(len(g), len(w))) if g[i] != w[i]),
                             min(len(g), len(w)))
                faults.append(f"{name}: {label} differs at line {first + 1}:\n"
                              f"  program:   {g[first] if first < len(g) else '<end>'!r}\n"
                              f"  reference: {w[first] if first < len(w) else '<end>'!r}")
        return faults


def main():
    exe = os.path.abspath(sys.argv[1])
    faults = []
    for name, (inp, k2, k1) in CASES.items():
        case_faults = run_case(exe, name, inp, k2, k1)
        print(f"{'FAIL' if case_faults else 'ok  '} {name}")
        faults += case_faults
    for fault in faults:
        print(fault)
    passed = len(CASES) - len({f.split(':')[0] for f in faults})
    print(f"{passed} passed, {len(CASES) - passed} failed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
