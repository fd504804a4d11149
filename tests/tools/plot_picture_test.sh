#!/usr/bin/env bash
# Runs the program on a bundled example, then tandem-plot, and checks that real pictures
# come out: a PNG with its signature, plausible dimensions and enough bytes to hold a
# drawn curve and text (a blank canvas of that size takes about 4 kB, bare axes 9 kB),
# and an SVG document. Exits 77 (skipped) where gnuplot is not installed.
# Usage: plot_picture_test.sh TANDEM TANDEM_PLOT EXAMPLE_DIR SCRATCH_DIR
set -u
tandem=$1 plot=$2 example=$3 scratch=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! command -v "${TANDEM_GNUPLOT:-gnuplot}" >/dev/null 2>&1; then
  echo "SKIP: gnuplot is not installed (apt-get install gnuplot-nox); no picture to check"
  exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch" || fail "cannot make $scratch"
cp "$example/tandem.inp" "$scratch/" || fail "no tandem.inp in $example"
cd "$scratch" || fail "cannot enter $scratch"
"$tandem" <"$example/answer.txt" >console.txt || fail "tandem failed"

"$plot" --svg >plot.out 2>plot.err || fail "tandem-plot failed: $(cat plot.err)"
grep -q "wrote .*/rsigma.png" plot.out || fail "tandem-plot did not say where the PNG went"

[ -f rsigma.png ] || fail "no rsigma.png"
signature=$(od -An -tx1 -N8 rsigma.png | tr -d ' \n')
[ "$signature" = 89504e470d0a1a0a ] || fail "rsigma.png is not a PNG (starts $signature)"
[ "$(dd if=rsigma.png bs=1 skip=12 count=4 2>/dev/null)" = IHDR ] || fail "no IHDR chunk"
read -r -a b < <(od -An -tu1 -j16 -N8 rsigma.png)
width=$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))
height=$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))
((width >= 640 && width <= 4000 && height >= 400 && height <= 4000)) ||
  fail "rsigma.png is ${width}x${height}"
((width > height)) || fail "rsigma.png is not landscape: ${width}x${height}"
size=$(wc -c <rsigma.png)
((size >= 20000)) || fail "rsigma.png has only $size bytes: nothing drawn?"

[ -s rsigma.svg ] || fail "no rsigma.svg with --svg"
grep -q "<svg" rsigma.svg || fail "rsigma.svg is not an SVG document"
grep -q "</svg>" rsigma.svg || fail "rsigma.svg is cut short"
echo "ok: rsigma.png ${width}x${height}, $size bytes; rsigma.svg $(wc -c <rsigma.svg) bytes"
