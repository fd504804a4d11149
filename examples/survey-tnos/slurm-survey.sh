#!/bin/sh
# A survey of a large orbit file in pieces, one per task of a Slurm job array, e.g. the
# MPC's MPCORB.DAT (about 1.4 million asteroids) with Jupiter's resonances:
#
#   mkdir -p parts && sbatch --array=1-16 slurm-survey.sh
#   tandem-survey merge parts/part-*.csv --output survey.csv   (after the array has ended)
#
# Each task surveys the bodies at places i with (i - 1) mod N = task - 1 on the processors
# Slurm gives it (--cpus-per-task); every task reads the whole file as a stream, so memory
# stays that of a few bodies per thread whatever the file's length. BODIES and SURVEY
# change the file and the options (sbatch passes the environment on).
#SBATCH --job-name=tandem-survey
#SBATCH --array=1-16
#SBATCH --cpus-per-task=2
#SBATCH --output=parts/slurm-%A_%a.out
set -eu
survey=${TANDEM_SURVEY:-tandem-survey}
bodies=${BODIES:-MPCORB.DAT}
what=${SURVEY:---perturber Jupiter --order 1-4 --max-k2 10}
# shellcheck disable=SC2086
"$survey" "$bodies" $what --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" \
  --output "parts/part-$SLURM_ARRAY_TASK_ID.csv"
