#!/bin/sh
# One part of a scan per task of a Slurm job array. Submit it with submit-slurm.sh, which
# also queues the merge to run once every task has ended well; by hand:
#
#   mkdir -p parts && sbatch --array=1-4 slurm-array.sh
#   tandem-scan merge parts/part-*.csv --output atlas.csv    (after the array has ended)
#
# Each task scans part SLURM_ARRAY_TASK_ID of SLURM_ARRAY_TASK_COUNT on the processors
# Slurm gives it (--cpus-per-task): tandem-scan uses every processor it may run on.
# TANDEM_SCAN, INPUT and SCAN as in parallel.sh (sbatch passes the environment on).
#SBATCH --job-name=tandem-scan
#SBATCH --array=1-4
#SBATCH --cpus-per-task=1
#SBATCH --output=parts/slurm-%A_%a.out
set -eu
scan=${TANDEM_SCAN:-tandem-scan}
input=${INPUT:-tandem.inp}
what=${SCAN:---a1 3.0:4.6 --order 1-4}
# shellcheck disable=SC2086
exec "$scan" --input "$input" $what --quiet \
  --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" \
  --output "parts/part-$SLURM_ARRAY_TASK_ID.csv"
