#!/usr/bin/env bash
# tandem-verify as a process, on the bundled Trojan: the catalogue it writes (columns,
# one row per stable equilibrium, the verdicts), --sigma, the series file, its refusals
# (one line and the usage, status 2), and the picture tandem-plot --verify draws from the
# series (skipped where gnuplot is not installed).
# Usage: program_test.sh TANDEM_VERIFY TANDEM_PLOT EXAMPLE_DIR SCRATCH_DIR
set -u
verify=$1 plot=$2 example=$3 scratch=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch" || fail "cannot make $scratch"
cp "$example/tandem.inp" "$scratch/" || fail "no tandem.inp in $example"
cd "$scratch" || fail "cannot enter $scratch"

"$verify" 1:1 --format csv --output trojan.csv --series sigma.dat 2>err.txt ||
  fail "tandem-verify failed: $(cat err.txt)"
head -1 trojan.csv | tr ',' '\n' >columns.txt
for column in sigma_deg verdict predicted_period_years measured_period_years \
  measured_centre_deg amplitude_deg energy_error model_period_years; do
  grep -qx "$column" columns.txt || fail "no column $column in trojan.csv"
done
# At 5 degrees off L4 the model's period lies within 1% of the small-amplitude one.
awk -F, 'NR > 1 && $3 == 60 { r = $NF / $5; exit !(r > 0.99 && r < 1.01) }' trojan.csv ||
  fail "model period at L4: $(grep '^1,1,60,' trojan.csv)"
# L4 and L5 confirmed; the dip inside the close-encounter band at 0 degrees not.
awk -F, 'NR > 1 { print $3, $4 }' trojan.csv >verdicts.txt
printf '0 not confirmed\n60 confirmed\n300 confirmed\n' | cmp -s - verdicts.txt ||
  fail "verdicts: $(cat verdicts.txt)"
[ "$(grep -c '^# equilibrium ' sigma.dat)" -eq 3 ] || fail "sigma.dat has not three blocks"

"$verify" 1:1 --sigma 180 --periods 2 --format jsonl >l3.jsonl || fail "--sigma 180 failed"
[ "$(wc -l <l3.jsonl)" -eq 1 ] || fail "--sigma gave not one row"
grep -q '"sigma_deg":180,' l3.jsonl || fail "the row is not sigma 180: $(cat l3.jsonl)"
grep -q '"verdict":"confirmed"' l3.jsonl && fail "L3 confirmed"

"$verify" 1:1 >table.txt || fail "the table failed"
grep -q "^   60.0  confirmed " table.txt || fail "no confirmed L4 in the table: $(cat table.txt)"

for bad in "3/2" "1:1 --periods 0" "1:1 --format xml" ""; do
  # shellcheck disable=SC2086
  "$verify" $bad >out.txt 2>err.txt
  status=$?
  [ "$status" -eq 2 ] || fail "'$bad': status $status, not 2"
  [ "$(head -1 err.txt | cut -c1-15)" = "tandem-verify: " ] || fail "'$bad': $(head -1 err.txt)"
  grep -q "^Usage: tandem-verify" err.txt || fail "'$bad': no usage"
  [ -s out.txt ] && fail "'$bad' wrote on standard output"
done
"$verify" --input missing.inp 1:1 2>err.txt
[ $? -eq 2 ] || fail "a missing input is not status 2"
grep -q "missing.inp" err.txt || fail "a missing input is not named: $(cat err.txt)"
"$verify" --version | grep -q "^tandem-verify [0-9]" || fail "--version"
"$verify" --help | grep -q "^Examples:" || fail "--help has no examples"

if ! command -v "${TANDEM_GNUPLOT:-gnuplot}" >/dev/null 2>&1; then
  echo "ok: tandem-verify (no gnuplot: the picture is not checked)"
  exit 0
fi
"$plot" --verify sigma.dat >plot.out 2>plot.err || fail "tandem-plot --verify: $(cat plot.err)"
grep -q "wrote .*/verify.png" plot.out || fail "tandem-plot did not say where verify.png went"
signature=$(od -An -tx1 -N8 verify.png | tr -d ' \n')
[ "$signature" = 89504e470d0a1a0a ] || fail "verify.png is not a PNG"
(($(wc -c <verify.png) >= 20000)) || fail "verify.png has only $(wc -c <verify.png) bytes"
printf 'not a series\n' >junk.dat
"$plot" --verify junk.dat 2>err.txt && fail "tandem-plot drew a file that is no series"
"$plot" --verify 2>err.txt
[ $? -eq 2 ] || fail "--verify without a file is not status 2"
echo "ok: tandem-verify and tandem-plot --verify"
