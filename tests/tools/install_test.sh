#!/usr/bin/env bash
# Installs the build into a scratch prefix, as the README shows with ~/.local, and checks
# that the programs land in <prefix>/bin and start from there; that another CMake project
# finds the library (find_package(tandem)), links tandem::tandem under its own compiler flags
# and gets the program's files byte for byte; and that the Python package imports from the
# prefix with the README's PYTHONPATH and agrees with the program too.
# Usage: install_test.sh CMAKE BUILD_DIR SCRATCH_DIR CONSUMER_SOURCE [PYTHON PYTHON_DIR]
#   PYTHON_DIR: where the package is installed, relative to the prefix (omit both when the
#   Python module is not built).
#   TANDEM_BUILD_FLAGS (environment): flags the library was built with that a consumer must
#   link with too (the sanitizer runtime of an asan build).
set -u
cmake=$1 build=$2 scratch=$3 consumer=$4 python=${5:-} python_dir=${6:-}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/run" || fail "cannot make $scratch"
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$scratch/install.log")"
for program in tandem tandem-scan tandem-verify tandem-plot; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed as an executable in $prefix/bin"
done

# The installed program runs a case, and the installed script answers for itself.
printf 'case\n1.0\nelements\n1.0 0.1 1.0 0.0 0.0 1e-6\n1.6 0.05 2.0 10.0 40.0 1e-3\n' >"$scratch/run/tandem.inp"
(cd "$scratch/run" && echo "2 1" | "$prefix/bin/tandem" >console.txt) || fail "installed tandem failed"
[ "$(wc -l <"$scratch/run/rsigma.dat")" -eq 361 ] || fail "installed tandem wrote no full table"
"$prefix/bin/tandem-plot" --help | grep -q "^Usage: tandem-plot" || fail "installed tandem-plot does not start"
(cd "$scratch/run" && "$prefix/bin/tandem-scan" --list 2:1 | grep -qx "1/1 2:1 order 1 a1_au .*") ||
  fail "installed tandem-scan does not start"
(cd "$scratch/run" && "$prefix/bin/tandem-plot" --data | wc -l | grep -qx 360) ||
  fail "installed tandem-plot does not read the table"

# Another project against the installed package, compiled with flags that would contract
# and reorder if the library's formulas were compiled in the consumer's translation units.
"$cmake" -S "$consumer" -B "$scratch/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-O3 -ffp-contract=fast ${TANDEM_BUILD_FLAGS:-}" \
  -DCMAKE_EXE_LINKER_FLAGS="${TANDEM_BUILD_FLAGS:-}" >"$scratch/consumer.log" 2>&1 ||
  fail "the consumer project does not configure: $(tail -20 "$scratch/consumer.log")"
"$cmake" --build "$scratch/consumer" >>"$scratch/consumer.log" 2>&1 ||
  fail "the consumer project does not build: $(tail -20 "$scratch/consumer.log")"
mkdir -p "$scratch/linked"
"$scratch/consumer/consumer" "$scratch/run/tandem.inp" 2 1 "$scratch/linked" >"$scratch/linked.txt" ||
  fail "the consumer failed: $(cat "$scratch/linked.txt")"
grep -q "^stable at " "$scratch/linked.txt" || fail "the consumer found no stable equilibrium"
for file in rsigma.dat resonance.dat; do
  cmp -s "$scratch/run/$file" "$scratch/linked/$file" ||
    fail "the consumer's $file differs from the installed program's"
done

if [ -n "$python" ]; then
  mkdir -p "$scratch/py"
  (cd "$scratch" && env PYTHONPATH="$prefix/$python_dir" "$python" - "$scratch/run/tandem.inp" "$scratch/py" <<'PY'
import sys, tandem
system = tandem.read_input(sys.argv[1])
tandem.solve(system, k2=2, k1=1).write_files(sys.argv[2])
print(tandem.__file__)
PY
  ) >"$scratch/py.txt" 2>&1 || fail "import tandem from the prefix failed: $(cat "$scratch/py.txt")"
  grep -q "^$prefix/" "$scratch/py.txt" || fail "tandem was not imported from $prefix: $(cat "$scratch/py.txt")"
  for file in rsigma.dat resonance.dat; do
    cmp -s "$scratch/run/$file" "$scratch/py/$file" ||
      fail "the Python module's $file differs from the installed program's"
  done
fi
echo "ok: programs, library, CMake package${python:+ and Python package} installed in $prefix"
