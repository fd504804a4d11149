#!/usr/bin/env bash
# tandem-plot --atlas on catalogues written by tandem-scan: what it reads (checked against
# Python's csv module, with a quoted name that holds commas, and with planet 2 placed), its
# refusals, and the picture it draws where gnuplot is installed.
# Usage: plot_atlas_test.sh TANDEM_SCAN TANDEM_PLOT SOURCE_DIR SCRATCH_DIR PYTHON
set -u
scan=$1 plot=$2 source=$3 scratch=$4 python=$5
. "$(dirname "$0")/checks.sh"

rm -rf "$scratch"
mkdir -p "$scratch" && cd "$scratch" || exit 1
cp "$source/examples/eccentric-inclined-3-2/tandem.inp" .
"$scan" --ratio 1:2 --max-k2 4 --quiet --output pair.csv || exit 1
printf '%s\n' 'Neptune and a trans-Neptunian object' 1.0 'a e i node peri mass' \
  '30.07 0.009 1.77 131.8 44.97 5.15e-5' '45.0 0.25 17.0 110.0 224.0 1e-12' >tno.inp
"$scan" --input tno.inp --place planet2 3:2 2:1 --quiet --output tno.csv || exit 1

# The atlas as Python's csv module reads the same file: the placed planet's a and width.
expected() {
  "$python" - "$1" <<'PY'
import csv, sys
for row in csv.DictReader(open(sys.argv[1], newline="")):
    p = "2" if row["placed"] == "planet2" else "1"
    print(row["a%s_au" % p], row["width_a%s_au" % p], row["strength"], row["order"],
          row["k2"], row["k1"], 1 if row["detectable"] == "true" else 0)
PY
}
for catalogue in pair.csv tno.csv; do
  "$plot" --atlas "$catalogue" --data >"$catalogue.read"
  check "$catalogue: --data reads the catalogue" test $? -eq 0
  expected "$catalogue" >"$catalogue.expected"
  check "$catalogue: every row as Python's csv reads it" cmp -s "$catalogue.expected" "$catalogue.read"
  check "$catalogue: rows to compare" test -s "$catalogue.read"
done
# A degenerate system (planet 1 of 1e-320 solar masses, planet 2 at 1e300 au) gives rows
# with inf and nan: the atlas leaves them out and says how many.
printf '%s\n' 'Degenerate pair' 1.0 'a e i node peri mass' '3.97 0.1 5 100 30 1e-320' \
  '1e300 0.048 1.3 100.5 14.7 9.5e-4' >degenerate.inp
"$scan" --input degenerate.inp 2:1 3:2 --quiet --output degenerate.csv || exit 1
check "the scan writes inf and nan" grep -q ',inf,.*,nan,' degenerate.csv
check "never -nan" test "$(grep -c -- -nan degenerate.csv)" -eq 0
{ cat pair.csv && tail -n +2 degenerate.csv; } >mixed.csv
"$plot" --atlas mixed.csv --data >mixed.read 2>mixed.err
check "mixed: --data reads it" test $? -eq 0
check "mixed: the finite rows as read before" cmp -s pair.csv.read mixed.read
check "mixed: the others counted" grep -q "2 rows with a value that is not finite" mixed.err
check "the name holds a comma, so the quoting is exercised" grep -q '^[^,]*,[^,]*,"Eccentric, ' pair.csv

"$plot" --atlas none.csv --data >out.txt 2>err.txt
check "a missing catalogue: status 1" test $? -eq 1
check "a missing catalogue: named" grep -q "none.csv is not a readable file" err.txt
printf 'k2,k1\n3,2\n' >short.csv
"$plot" --atlas short.csv --data >out.txt 2>err.txt
check "a file without the atlas columns: status 1" test $? -eq 1
check "a file without the atlas columns: says which" grep -q "no column order" err.txt
"$plot" --atlas >out.txt 2>err.txt
check "--atlas without a file: usage error" test $? -eq 2

if command -v "${TANDEM_GNUPLOT:-gnuplot}" >/dev/null 2>&1; then
  "$plot" --atlas pair.csv --svg >plot.out 2>plot.err
  check "the atlas is drawn" test $? -eq 0
  check "it says where the PNG went" grep -q "wrote .*/pair.png" plot.out
  check "pair.png is a PNG" test "$(od -An -tx1 -N8 pair.png | tr -d ' \n')" = 89504e470d0a1a0a
  check "pair.png holds a drawing" test "$(wc -c <pair.png)" -ge 20000
  check "pair.svg is a whole SVG document" grep -q "</svg>" pair.svg
  check "the resonances are labelled" grep -q ">3:2<" pair.svg
  "$plot" --atlas mixed.csv >plot.out 2>plot.err
  check "an atlas with rows left out is drawn" test $? -eq 0
else
  echo "SKIP: gnuplot is not installed; the picture is not checked"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
