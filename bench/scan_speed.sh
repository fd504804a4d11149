#!/usr/bin/env bash
# tandem-scan's speed, as ratios measured within one run: the scan on one processor
# (taskset -c 0) against the same scan on two (taskset -c 0,1), and against the console
# program run once per resonance (each run on both processors, as tandem uses every one).
#
#   bash bench/scan_speed.sh [ROUNDS]     (default 5; from the source tree, after a build)
#
# The three are run one after the other in each round, so that a change in the load of a
# shared machine touches all three. For each command the script also counts the processor
# time the rest of the machine used meanwhile (from /proc/stat, less the command's own
# user and system time): a round in which others took more than 5 % of the two processors
# is marked "busy" and left out of the medians at the end.
#
# The scan: the Hilda example's neighbourhood, every resonance of order 1 to 3 with a1
# between 3.0 and 4.6 au (16 resonances, K2 from 2 to 17). TANDEM and TANDEM_SCAN name
# other builds; SCAN other options.
set -eu
rounds=${1:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
tandem=${TANDEM:-$root/build/release/tandem}
scan=${TANDEM_SCAN:-$root/build/release/programs/scan/tandem-scan}
what=${SCAN:---a1 3.0:4.6 --order 1-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/tandem-scan-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$root/examples/hilda-3-2/tandem.inp" "$work/"
cd "$work"
ticks=$(getconf CLK_TCK)
cpus=$(nproc)

busy_ticks() { head -1 /proc/stat | awk '{ print $2 + $3 + $4 + $7 + $8 }'; }

# command...: prints "wall others" in seconds and as a fraction of all processors.
measure() {
  local b0 b1 report
  b0=$(busy_ticks)
  report=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>&1; } 2>&1)
  b1=$(busy_ticks)
  awk -v r="$report" -v b0="$b0" -v b1="$b1" -v hz="$ticks" -v n="$cpus" 'BEGIN {
    split(r, t, " "); others = (b1 - b0) / hz - t[2] - t[3]; if (others < 0) others = 0
    printf "%.3f %.3f\n", t[1], others / (t[1] * n) }'
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
printf '%-6s %9s %9s %11s %9s %13s %s\n' round "1 cpu, s" "2 cpus, s" "console, s" speed-up \
  console/scan "others' share"
: >clean.txt
for round in $(seq "$rounds"); do
  read -r t1 o1 < <(measure one)
  read -r t2 o2 < <(measure two)
  read -r tc oc < <(measure console_loop)
  line=$(awk -v t1="$t1" -v t2="$t2" -v tc="$tc" -v o1="$o1" -v o2="$o2" -v oc="$oc" 'BEGIN {
    busy = (o1 > 0.05 || o2 > 0.05 || oc > 0.05)
    printf "%.3f %.3f %.0f%%/%.0f%%/%.0f%%%s", t1 / t2, tc / t2, 100 * o1, 100 * o2, 100 * oc,
           busy ? " busy" : "" }')
  read -r up vs share <<<"$line"
  printf '%-6s %9.2f %9.2f %11.2f %9s %13s %s\n' "$round" "$t1" "$t2" "$tc" "$up" "$vs" "$share"
  case $line in *busy) ;; *) echo "$up $vs" >>clean.txt ;; esac
done
if [ -s clean.txt ]; then
  sort -n -k1 clean.txt | awk '{ a[NR] = $1 } END { printf "median speed-up, 2 cpus against 1, over %d quiet rounds: %.3f\n", NR, a[int((NR + 1) / 2)] }'
  sort -n -k2 clean.txt | awk '{ a[NR] = $2 } END { printf "median console loop / scan on 2 cpus, over %d quiet rounds: %.3f\n", NR, a[int((NR + 1) / 2)] }'
else
  echo "no quiet round: every one shared the processors with other work"
fi
