#!/bin/sh
# A scan in PARTS pieces run side by side by GNU parallel on one machine, then merged:
# the catalogue atlas.csv is byte for byte what one tandem-scan process writes.
#
#   sh parallel.sh [PARTS]        (default 4, run from the directory that holds tandem.inp)
#
# Each piece runs on one thread (--threads 1) and parallel runs one piece per processor;
# the pieces go to parts/part-I.csv. Set TANDEM_SCAN to use another tandem-scan, INPUT for
# another input file and SCAN to change what is scanned (default: the neighbourhood of the
# Hilda example, every resonance of order 1 to 4 with a1 between 3.0 and 4.6 au).
set -eu
parts=${1:-4}
scan=${TANDEM_SCAN:-tandem-scan}
input=${INPUT:-tandem.inp}
what=${SCAN:---a1 3.0:4.6 --order 1-4}

mkdir -p parts
# $what is split into words on purpose: it holds several options.
# shellcheck disable=SC2086
parallel --halt now,fail=1 \
  "$scan" --input "$input" $what --threads 1 --quiet \
  --shard {}/"$parts" --output parts/part-{}.csv ::: $(seq 1 "$parts")
"$scan" merge parts/part-*.csv --output atlas.csv
echo "atlas.csv: $(($(wc -l <atlas.csv) - 1)) resonances"
