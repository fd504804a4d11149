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
# A sigma of any size is the angle it stands for, printed whole.
"$verify" 1:1 --sigma 1e62 --periods 2 >huge.txt || fail "--sigma 1e62 failed"
"$verify" 1:1 --sigma 344 --periods 2 >plain.txt || fail "--sigma 344 failed"
cmp -s huge.txt plain.txt || fail "--sigma 1e62 is not 344 degrees: $(diff huge.txt plain.txt)"

# Files it must not replace, limits it meets: one line, status 2, no temporary left.
one_line_failure() { # what, expected text
  [ "$status" -eq 2 ] || fail "$1: status $status, not 2"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "$1: not one line: $(cat err.txt)"
  grep -q "^tandem-verify: .*$2" err.txt || fail "$1: $(cat err.txt)"
  ls -a | grep -q '\.tmp$' && fail "$1: a temporary is left: $(ls -a)"
  return 0
}
cp tandem.inp before.inp
"$verify" 1:1 --output tandem.inp 2>err.txt
status=$? one_line_failure "--output onto the input" "tandem.inp: is read by this run"
cmp -s tandem.inp before.inp || fail "the input was changed"
(ulimit -f 1 && exec "$verify" 1:1 --series big.dat) >out.txt 2>err.txt
status=$? one_line_failure "ulimit -f" "big.dat: File too large"
# A sanitizer's build cannot even start in 20 MB of address space: then this is not checked.
if (ulimit -v 20000 && exec "$verify" --version) >/dev/null 2>&1; then
  (ulimit -v 20000 && exec "$verify" 1:1 --series long.dat --periods 2000) >out.txt 2>err.txt
  status=$? one_line_failure "ulimit -v" ""
  [ -e long.dat ] && fail "a series was left under ulimit -v"
else
  echo "SKIP: tandem-verify does not start in 20 MB of address space"
fi

# SIGTERM while the series is written (its temporary seen) waits until the file is whole.
"$verify" 1:1 --series held.dat --periods 100 --output held.txt &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  compgen -G '.held.dat.*.tmp' >/dev/null && kill -TERM "$pid" && break
done
wait "$pid"
ls -a | grep -q '\.tmp$' && fail "SIGTERM while writing left a temporary: $(ls -a)"

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
