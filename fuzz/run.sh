#!/usr/bin/env bash
# Runs the fuzz targets for a bounded time, seeded with the bundled examples (the Kepler
# solver with a few eccentricities and anomalies of its own, the part reader of
# tandem-scan merge with the parts in fuzz/seeds/part_reader).
#   bash fuzz/run.sh [seconds per target, default 60]
# Builds them first with the fuzz preset (clang, libFuzzer, ASan, UBSan). A crash, an
# input that runs longer than 10 s, or a sanitizer report stops the run with a non-zero
# status and leaves the input in build/fuzz/found/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

corpus="$PWD/build/fuzz/corpus"
found="$PWD/build/fuzz/found"
rm -rf "$corpus" "$found"
mkdir -p "$corpus/list_reader" "$corpus/front_end" "$corpus/kepler" "$corpus/part_reader" "$found"
# Parts of the bundled Hilda and Trojan examples, CSV and JSON Lines, with and without --verify.
cp fuzz/seeds/part_reader/* "$corpus/part_reader/"
for example in examples/*/; do
  # Only the folders of a system: examples/python and examples/cluster hold scripts.
  [ -f "$example/tandem.inp" ] && [ -f "$example/answer.txt" ] || continue
  name=$(basename "$example")
  # The front end: tandem.inp, a NUL byte, the answers typed at the console.
  { cat "$example/tandem.inp"; printf '\0'; cat "$example/answer.txt"; } \
    >"$corpus/front_end/$name"
  # The reader: a byte choosing the shapes of the statements, then a stream to read.
  for shape in 0 1 2 3 4; do
    { printf "\\$(printf '%03o' "$shape")"; cat "$example/tandem.inp"; } \
      >"$corpus/list_reader/$name-input-$shape"
    { printf "\\$(printf '%03o' "$shape")"; cat "$example/answer.txt"; } \
      >"$corpus/list_reader/$name-answer-$shape"
  done
done

# The solver: e and M as the bytes of two doubles (little-endian), among them the largest
# eccentricity below 1 and anomalies next to 0 and -2*pi.
for pair in "0.05 1.0" "0.9 0.5" "0.999999 -6.2826198205019397" "0.99999999999999989 1e-300" \
  "0.99999999999999989 -6.2831853071795853"; do
  /usr/bin/python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<dd", *map(float, sys.argv[1:])))' \
    $pair >"$corpus/kepler/$(echo "$pair" | tr ' ' '_')"
done

for target in list_reader front_end kepler part_reader; do
  echo "---- fuzzing ${target} for ${seconds} s"
  log="build/fuzz/${target}.log"
  status=0
  "$PWD/build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$found/${target}-" -print_final_stats=1 "$corpus/$target" >"$log" 2>&1 ||
    status=$?
  grep -E '^(#[0-9]+\s+DONE|Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
  if [ "$status" -ne 0 ] || compgen -G "$found/${target}-*" >/dev/null; then
    tail -n 60 "$log"
    echo "fuzz: ${target} failed (status ${status}); inputs kept in ${found}/"
    exit 1
  fi
done
