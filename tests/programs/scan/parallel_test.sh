#!/usr/bin/env bash
# The GNU parallel run of examples/cluster/parallel.sh: its merged catalogue must be byte
# for byte the one a single tandem-scan process writes. Exits 77 (skipped) without parallel.
# Usage: parallel_test.sh TANDEM_SCAN SOURCE_DIR SCRATCH_DIR
set -u
scan=$1 source=$2 scratch=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

command -v parallel >/dev/null 2>&1 || {
  echo "SKIP: GNU parallel is not installed (apt-get install parallel)"
  exit 77
}
rm -rf "$scratch"
mkdir -p "$scratch" && cd "$scratch" || fail "cannot make $scratch"
cp "$source/examples/hilda-3-2/tandem.inp" . || fail "no Hilda example"

what='--ratio 1.3:2.1 --max-k2 7'
TANDEM_SCAN=$scan SCAN=$what sh "$source/examples/cluster/parallel.sh" 4 >run.out 2>run.err ||
  fail "parallel.sh failed: $(cat run.err)"
[ "$(ls parts | wc -l)" -eq 4 ] || fail "expected 4 parts, found: $(ls parts)"
# shellcheck disable=SC2086
"$scan" $what --quiet --output single.csv || fail "the single-process scan failed"
cmp atlas.csv single.csv || fail "the merged catalogue differs from the single process's"
echo "ok: $(($(wc -l <atlas.csv) - 1)) rows from 4 parts by GNU parallel, identical to one process"
