#!/usr/bin/env bash
# What tandem-plot reads and how it refuses, checked without gnuplot: the curve it reads
# from a produced rsigma.dat against the program's own console report, the E fields that
# lose their exponent letter or hold no number, and the messages and exit statuses when
# rsigma.dat or gnuplot is missing.
# Usage: plot_reading_test.sh TANDEM TANDEM_PLOT EXAMPLE_DIR SCRATCH_DIR
set -u
tandem=$1 plot=$2 example=$3 scratch=$4
. "$(dirname "$0")/checks.sh"

rm -rf "$scratch"
mkdir -p "$scratch/run" "$scratch/empty" "$scratch/odd" "$scratch/junk" || exit 1

# A real run: the stable equilibria and periods read back from rsigma.dat must be the ones
# the program printed on the console, and every close-encounter row must be seen.
cp "$example/tandem.inp" "$scratch/run/"
(cd "$scratch/run" && "$tandem" <"$example/answer.txt" >console.txt) || exit 1
(cd "$scratch/run" && "$plot" --data >curve.txt)
check "--data reads a produced table" test $? -eq 0
cd "$scratch/run" || exit 1
awk '/E\. STABLE  P=/ { sub(/sigma=/, ""); print $1 + 0, $5 }' console.txt >console_equilibria.txt
awk '$4 == 1 { print $1 + 0, $5 }' curve.txt >read_equilibria.txt
check "the example has stable equilibria to compare" test -s console_equilibria.txt
check "stable equilibria and periods match the console" cmp -s console_equilibria.txt read_equilibria.txt
check "all 360 rows are read" test "$(wc -l <curve.txt)" -eq 360
check "close-encounter rows are all seen" \
  test "$(awk '$3 == 1' curve.txt | wc -l)" -eq "$(grep -c 'CLOSE ENC' rsigma.dat)"
check "unstable equilibria are all seen" \
  test "$(awk '$4 == 2' curve.txt | wc -l)" -eq "$(grep -c ' UNSTABLE' rsigma.dat)"

# E fields past an exponent of 99 have no letter; non-finite values are not numbers.
cd "$scratch/odd" || exit 1
{
  printf '  sigma   R-R_min \n'
  printf '   0.00  0.25000000+121                    \n'
  printf '   1.00             NaN CLOSE ENC          \n'
  printf '   2.00  0.00000000E+00           E. STABLE  0.12345600-105\n'
  printf '   3.00        Infinity            UNSTABLE\n'
  printf '   4.00  0.10000000E-05           E. STABLE        Infinity\n'
} >rsigma.dat
"$plot" --data >curve.txt
cat >expected.txt <<'END'
0.00 0.25000000E+121 0 0 0
1.00 NaN 1 0 0
2.00 0.00000000E+00 0 1 0.12345600E-105
3.00 NaN 0 2 0
4.00 0.10000000E-05 0 1 NaN
END
check "three-digit exponents and non-finite fields" cmp -s expected.txt curve.txt

# Refusals: a clear message on standard error, a distinct status, and no picture.
cd "$scratch/empty" || exit 1
"$plot" >out.txt 2>err.txt
status=$?
check "missing rsigma.dat: status 1" test "$status" -eq 1
check "missing rsigma.dat: named in the message" grep -q "no rsigma.dat in .*run tandem" err.txt
check "missing rsigma.dat: no picture" test ! -e rsigma.png

cd "$scratch/run" || exit 1
rm -f rsigma.png
TANDEM_GNUPLOT=/nonexistent/gnuplot "$plot" >out.txt 2>err.txt
status=$?
check "gnuplot absent: status 3" test "$status" -eq 3
check "gnuplot absent: says how to install it" grep -q "gnuplot.*not installed.*apt-get install gnuplot" err.txt
check "gnuplot absent: no picture" test ! -e rsigma.png

cd "$scratch/junk" || exit 1
printf 'not a table\n' >rsigma.dat
"$plot" --data >out.txt 2>err.txt
status=$?
check "a file that is not a table is refused" test "$status" -eq 1
check "the refusal names rsigma.dat" grep -q "rsigma.dat .*is not a tandem R(sigma) table" err.txt

"$plot" --no-such-option >out.txt 2>err.txt
check "an unknown option is a usage error" test $? -eq 2

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
