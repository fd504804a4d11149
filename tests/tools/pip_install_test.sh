#!/usr/bin/env bash
# pip install of the Python package into a fresh virtual environment, as a Python user does
# it: a venv over Debian's numpy (--system-site-packages), pip install --no-build-isolation
# of a copy of the source tree (offline: setuptools drives CMake), then the README's Python
# example run from elsewhere, which must find the package in the venv and print the known
# strength and width of the Hilda example's 3:2.
# Usage: pip_install_test.sh SOURCE_DIR SCRATCH_DIR [PYTHON, default /usr/bin/python3]
set -u
source=$(realpath "$1") scratch=$(realpath -m "$2") python=${3:-/usr/bin/python3}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/src" "$scratch/elsewhere" || fail "cannot make $scratch"
# A copy without the build trees, so that pip's in-tree build leaves the checkout alone.
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$scratch/src" -xf - ||
  fail "cannot copy $source"
"$python" -m venv --system-site-packages "$scratch/venv" || fail "python -m venv failed"
venv=$scratch/venv/bin/python
"$venv" -m pip install --no-build-isolation --no-index "$scratch/src" >"$scratch/pip.log" 2>&1 ||
  fail "pip install failed: $(tail -30 "$scratch/pip.log")"

cd "$scratch/elsewhere" || fail "no $scratch/elsewhere"
"$venv" - "$source/examples/hilda-3-2/tandem.inp" >"$scratch/example.txt" 2>&1 <<'PY' ||
import sys
import tandem

system = tandem.System(star_mass=1.0,
                       planet1=tandem.Planet(a=3.97, e=0.10, i=5.0, node=100.0, peri=30.0, mass=1e-9),
                       planet2=tandem.Planet(a=5.2, e=0.048, i=1.3, node=100.5, peri=14.7, mass=9.5e-4))
assert tandem.read_input(sys.argv[1]) == system
res = tandem.solve(system, k2=3, k1=2)
print(tandem.__file__)
print(res.strength, res.width_a1)
print(res.equilibria)
print(len(res.to_frame()), "rows")
PY
  fail "the README's example failed: $(cat "$scratch/example.txt")"
cat "$scratch/example.txt"
grep -q "^$scratch/venv/lib/python3[.0-9]*/site-packages/tandem/__init__.py$" "$scratch/example.txt" ||
  fail "tandem was not imported from the venv"
grep -qx "4.395427830624183e-18 0.14894485852870268" "$scratch/example.txt" ||
  fail "the example's strength and width are not the program's"
echo "pip install . and the README's example: ok"
