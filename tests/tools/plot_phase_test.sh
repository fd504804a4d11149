#!/usr/bin/env bash
# tandem-plot --phase on a JSON Lines catalogue of tandem-scan and its --curves tables:
# the picture of each row, the row chosen by index, and the refusals (no --curves, no
# such row, an undetectable resonance). Exits 77 (skipped) where gnuplot is not installed.
# Usage: plot_phase_test.sh TANDEM_SCAN TANDEM_PLOT SOURCE_DIR SCRATCH_DIR
set -u
scan=$1 plot=$2 source=$3 scratch=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! command -v "${TANDEM_GNUPLOT:-gnuplot}" >/dev/null 2>&1; then
  echo "SKIP: gnuplot is not installed (apt-get install gnuplot-nox); no picture to check"
  exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch" && cd "$scratch" || exit 1
cp "$source/examples/eccentric-inclined-3-2/tandem.inp" .
"$scan" 3:2 1:1 --quiet --format jsonl --curves curves --output pair.jsonl || fail "tandem-scan failed"

"$plot" --phase pair.jsonl --curves curves >out.txt 2>err.txt || fail "--phase failed: $(cat err.txt)"
grep -q "wrote .*/phase-3-2.png" out.txt || fail "the first row is not 3:2: $(cat out.txt)"
"$plot" --phase pair.jsonl --curves curves --row 2 --svg >out.txt 2>err.txt ||
  fail "--phase --row 2 failed: $(cat err.txt)"
grep -q "wrote .*/phase-1-1.svg" out.txt || fail "no SVG of row 2: $(cat out.txt)"
signature=$(od -An -tx1 -N8 phase-3-2.png | tr -d ' \n')
[ "$signature" = 89504e470d0a1a0a ] || fail "phase-3-2.png is not a PNG"
# Level curves and separatrices take far more than bare axes (about 9 kB).
[ "$(wc -c <phase-3-2.png)" -gt 40000 ] || fail "phase-3-2.png holds too little to be a portrait"

"$plot" --phase pair.jsonl 2>err.txt
[ $? -eq 2 ] || fail "--phase without --curves is not a usage error"
"$plot" --phase pair.jsonl --curves curves --row 7 2>err.txt
[ $? -eq 1 ] && grep -q "no such row" err.txt || fail "row 7 of two was not refused"

cp "$source/examples/earths-7-2-undetectable/tandem.inp" .
"$scan" 7:2 --quiet --format jsonl --curves flat --output flat.jsonl || fail "tandem-scan failed"
"$plot" --phase flat.jsonl --curves flat 2>err.txt
[ $? -eq 1 ] && grep -q "undetectable" err.txt || fail "an undetectable resonance was drawn"
echo "OK"
