#!/usr/bin/env bash
# Installs the build into a scratch prefix, as the README shows with ~/.local, and checks
# that the programs land in <prefix>/bin and start from there.
# Usage: install_test.sh CMAKE BUILD_DIR SCRATCH_DIR
set -u
cmake=$1 build=$2 scratch=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch/run" || fail "cannot make $scratch"
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$scratch/install.log")"
for program in tandem tandem-scan tandem-plot; do
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
echo "ok: tandem, tandem-scan and tandem-plot installed in $prefix/bin"
