#!/usr/bin/env bash
# tandem-survey as a process on the bundled excerpt of Distant.txt (the MPC): the
# catalogue's columns, Pluto and the twotinos in their zones and the classical objects in
# none (--best), a malformed row warned about and counted (and an error with --strict),
# the output file that appears only when the survey is done, a usage error, and shards
# merged into the catalogue of one process; hostile inputs and arguments.
# Usage: program_test.sh TANDEM_SURVEY EXAMPLE_DIR SCRATCH_DIR
set -u
survey=$1 example=$2 scratch=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch" || fail "cannot make $scratch"
cd "$scratch" || fail "cannot enter $scratch"
excerpt=$example/distant-excerpt.txt

"$survey" "$excerpt" --best --output best.csv 2>err.txt || fail "survey failed: $(cat err.txt)"
[ -s err.txt ] && fail "unexpected warnings: $(cat err.txt)"
head -1 best.csv | tr ',' '\n' >columns.txt
for column in body epoch_jd perturber side k2 k1 order a_au e i_deg a_res_au delta_a_au \
  strength width_au phi_deg sigma_deg model_regime model_centre_deg model_phi_min_deg \
  model_phi_max_deg model_amplitude_deg model_period_years close_encounter; do
  grep -qx "$column" columns.txt || fail "no column $column"
done
# body, k2, k1 of each body's best row (names without commas in this excerpt).
awk -F, 'NR > 1 { print $1 "|" $5 ":" $6 }' best.csv >best.txt
for expected in "(134340) Pluto|3:2" "(28978) Ixion|3:2" "(20161) 1996 TR66|2:1" \
  "(26375) 1999 DE9|5:2" "(20000) Varuna|:" "(50000) Quaoar|:"; do
  grep -qxF "$expected" best.txt || fail "expected $expected in: $(cat best.txt)"
done

# The N-body check's columns close every row; --no-nbody leaves the model's alone; an
# unknown planet to integrate is refused with status 2.
head -1 best.csv | grep -q ',nbody_length_years,nbody_fraction,nbody_centre_deg,nbody_amplitude_deg,nbody_period_years,nbody_stop,nbody_flags,verdict$' ||
  fail "no N-body columns: $(head -1 best.csv)"
grep -q '^(134340) Pluto,.*,completed,,resonant$' best.csv || fail "Pluto not resonant: $(grep Pluto best.csv)"
"$survey" "$excerpt" --best --no-nbody --output model.csv 2>/dev/null || fail "--no-nbody failed"
head -1 model.csv | grep -q 'pendulum_zone,zones_phi_deg$' || fail "--no-nbody columns: $(head -1 model.csv)"
"$survey" "$excerpt" --integrate Vulcan --output vulcan.csv 2>err.txt
[ $? -eq 2 ] && grep -q "no planet Vulcan" err.txt || fail "--integrate Vulcan: $(cat err.txt)"

# A row with a broken eccentricity (columns 71-79) is left out with a warning and counted.
{ head -2 "$excerpt"; sed -n 3p "$excerpt" | sed 's/^\(.\{70\}\).\{9\}/\1  0.x1234/'; } >bad.txt
"$survey" bad.txt --output bad.csv 2>err.txt || fail "a bad row stopped the survey"
grep -q "bad.txt:3: field e:" err.txt || fail "no warning naming line and field: $(cat err.txt)"
grep -q "1 row could not be read" err.txt || fail "no summary: $(cat err.txt)"
"$survey" bad.txt --strict --output strict.csv 2>err.txt
[ $? -eq 2 ] || fail "--strict did not end with status 2"
[ -e strict.csv ] && fail "--strict left an output file"

# JSON Lines, one object per row; a usage error is one line and status 2.
"$survey" "$excerpt" --format jsonl --max-k2 3 >rows.jsonl 2>/dev/null || fail "jsonl failed"
head -1 rows.jsonl | grep -q '"body":"(134340) Pluto","epoch_jd":2458600.5' ||
  fail "jsonl row: $(head -1 rows.jsonl)"
"$survey" "$excerpt" --elements sideways 2>err.txt
[ $? -eq 2 ] || fail "a bad --elements did not end with status 2"
head -1 err.txt | grep -q "^tandem-survey: --elements sideways" || fail "usage: $(cat err.txt)"
# Two shards merged in either order: byte for byte the catalogue of one process; one part
# alone is refused.
"$survey" "$excerpt" --max-k2 4 --output one.csv 2>/dev/null || fail "survey for shards failed"
for i in 1 2; do
  "$survey" "$excerpt" --max-k2 4 --shard $i/2 --output part-$i.csv || fail "shard $i failed"
done
"$survey" merge part-2.csv part-1.csv --output merged.csv || fail "merge failed"
cmp -s one.csv merged.csv || fail "merged parts differ from one process's catalogue"
"$survey" merge part-1.csv 2>err.txt
[ $? -eq 2 ] && grep -q "shard 2 of 2 is missing" err.txt || fail "merge of one part: $(cat err.txt)"
# Hostile use: the bodies file as the output is refused and left whole; a stream without
# line ends (/dev/zero) is refused at once; a file cut inside a row warns of that row; a
# window that is not a finite number, or a length past 1e10 years, gets one plain line; a
# file size limit ends the run in one line with no temporary left.
cp "$excerpt" own.txt
"$survey" own.txt --no-nbody --output own.txt 2>err.txt
[ $? -eq 2 ] && cmp -s own.txt "$excerpt" || fail "the input as output: $(cat err.txt)"
timeout 60 "$survey" /dev/zero --no-nbody >/dev/null 2>err.txt
[ $? -eq 2 ] && grep -q "longer than 1 MiB" err.txt || fail "/dev/zero: $(cat err.txt)"
head -c 300 "$excerpt" >torn.txt
"$survey" torn.txt --no-nbody >/dev/null 2>err.txt || fail "torn file: $(cat err.txt)"
grep -q "torn.txt:2: field a: the line ends inside this field" err.txt || fail "torn: $(cat err.txt)"
"$survey" "$excerpt" --no-nbody --window nan 2>err.txt
[ $? -eq 2 ] && [ "$(head -1 err.txt)" = "tandem-survey: --window: give a finite number from 0 on, not nan" ] ||
  fail "--window nan: $(cat err.txt)"
"$survey" "$excerpt" --length 1e308 2>err.txt
[ $? -eq 2 ] && grep -q "^tandem-survey: --length: give a number of years above 0 and at most 1e10, not 1e308$" err.txt ||
  fail "--length 1e308: $(cat err.txt)"
(
  ulimit -f 4
  "$survey" "$excerpt" --no-nbody --output big.csv 2>err.txt
  echo $? >status.txt
)
[ "$(cat status.txt)" = 2 ] && [ "$(cat err.txt)" = "tandem-survey: big.csv: File too large" ] ||
  fail "ulimit -f: status $(cat status.txt): $(cat err.txt)"
ls -a | grep -q '\.tmp$' && fail "a temporary was left: $(ls -a)"
echo "tandem-survey: all checks passed"
