#!/bin/sh
# Submits the scan as a Slurm job array of PARTS tasks (slurm-array.sh) and a merge job
# that starts when every task has ended well; prints the two job ids.
#
#   sh submit-slurm.sh [PARTS]       (default 4, from the directory that holds tandem.inp)
#
# The catalogue is atlas.csv, byte for byte what one tandem-scan process writes.
set -eu
parts=${1:-4}
here=$(cd "$(dirname "$0")" && pwd)
scan=${TANDEM_SCAN:-tandem-scan}
mkdir -p parts
array=$(sbatch --parsable --array=1-"$parts" "$here/slurm-array.sh")
merge=$(sbatch --parsable --dependency=afterok:"$array" --job-name=tandem-scan-merge \
  --output=parts/merge-%j.out --wrap "'$scan' merge parts/part-*.csv --output atlas.csv")
echo "array $array, merge $merge"
