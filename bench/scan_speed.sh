#!/usr/bin/env bash
# tandem-scan's speed, as ratios measured within one run: the scan on one processor
# (taskset -c 0) against the same scan on two (taskset -c 0,1), and against the console
# program run once per resonance (each run on both processors, as tandem uses every one).
# The three are run one after the other in each round, so that a change in the load of a
# shared machine touches all three; every round prints its times and ratios, and the end
# the medians.
#
#   bash bench/scan_speed.sh [ROUNDS]     (default 3; from the source tree, after a build)
#
# The scan: the Hilda example's neighbourhood, every resonance of order 1 to 3 with a1
# between 3.0 and 4.6 au (16 resonances, K2 from 2 to 17). TANDEM and TANDEM_SCAN name
# other builds; SCAN other options.
set -eu
rounds=${1:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
tandem=${TANDEM:-$root/build/release/tandem}
scan=${TANDEM_SCAN:-$root/build/release/programs/scan/tandem-scan}
what=${SCAN:---a1 3.0:4.6 --order 1-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/tandem-scan-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$root/examples/hilda-3-2/tandem.inp" "$work/"
cd "$work"

seconds() { # command...: its wall-clock time in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
# shellcheck disable=SC2086
resonances=$("$scan" $what --list | awk '{ print $2 }')
console_loop() {
  local r
  for r in $resonances; do
    echo "${r%:*} ${r#*:}" | "$tandem" >/dev/null
  done
}
# shellcheck disable=SC2086
one() { taskset -c 0 "$scan" $what --quiet; }
# shellcheck disable=SC2086
two() { taskset -c 0,1 "$scan" $what --quiet; }

echo "scan: $what ($(echo $resonances | wc -w) resonances: $(echo $resonances))"
printf '%-6s %10s %10s %12s %10s %12s\n' round "1 cpu, s" "2 cpus, s" "console, s" "speed-up" "console/scan"
results=()
for round in $(seq "$rounds"); do
  t1=$(seconds one)
  t2=$(seconds two)
  tc=$(seconds console_loop)
  up=$(awk -v a="$t1" -v b="$t2" 'BEGIN { print a / b }')
  vs=$(awk -v a="$tc" -v b="$t2" 'BEGIN { print a / b }')
  printf '%-6s %10.2f %10.2f %12.2f %10.3f %12.3f\n' "$round" "$t1" "$t2" "$tc" "$up" "$vs"
  results+=("$up $vs")
done
printf '%s\n' "${results[@]}" | sort -n -k1 | awk -v n="$rounds" '{ a[NR] = $1 } END { printf "median speed-up, 2 cpus against 1: %.3f\n", a[int((n + 1) / 2)] }'
printf '%s\n' "${results[@]}" | sort -n -k2 | awk -v n="$rounds" '{ a[NR] = $2 } END { printf "median console loop / scan on 2 cpus: %.3f\n", a[int((n + 1) / 2)] }'
