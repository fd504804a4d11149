#!/usr/bin/env bash
# Runs the program on one bundled example, as the README tells a newcomer to, and checks
# that the run ends normally with a complete table and a summary block for the
# resonance typed in answer.txt.
# Usage: run_example.sh TANDEM EXAMPLE_DIR SCRATCH_DIR
set -u
tandem=$1 example=$2 scratch=$3

fail() {
  echo "FAIL ($(basename "$example")): $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch" || fail "cannot make $scratch"
cp "$example/tandem.inp" "$scratch/" || fail "no tandem.inp"
[ -s "$example/answer.txt" ] || fail "no answer.txt"
[ -s "$example/NOTE.md" ] || fail "no NOTE.md saying what the run shows"

(cd "$scratch" && "$tandem" <"$example/answer.txt" >console.txt 2>stderr.txt)
status=$?
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$scratch/stderr.txt")"
[ ! -s "$scratch/stderr.txt" ] || fail "wrote to standard error: $(cat "$scratch/stderr.txt")"

table=$scratch/rsigma.dat
records=$(wc -l <"$table")
[ "$records" -eq 361 ] || fail "rsigma.dat has $records records, not 361"
# Every row is 43 characters, or 59 where a libration period follows.
bad_rows=$(awk 'NR > 1 && length($0) != 43 && length($0) != 59' "$table" | wc -l)
[ "$bad_rows" -eq 0 ] || fail "$bad_rows rows of rsigma.dat have a wrong length"

read -r k2 k1 < <(tr ',' ' ' <"$example/answer.txt")
grep -q "^ Resonance =  *${k2%%.*}: *${k1%%.*}\$" "$scratch/resonance.dat" ||
  fail "resonance.dat has no block for $k2:$k1"
echo "ok: $(basename "$example") ($k2:$k1)"
