#!/usr/bin/env bash
# The Slurm job array of examples/cluster on a one-node Slurm started here: munged,
# slurmctld and slurmd on localhost with a generated slurm.conf, all under SCRATCH_DIR.
# Submits the array and its merge (submit-slurm.sh), waits, compares the catalogue with a
# single tandem-scan process, and stops the daemons. Needs root, Debian's slurm-wlm and
# munge. Exits 0 when the catalogues are identical, 1 on a failure, 77 when Slurm is not
# installed. The daemons' logs stay in SCRATCH_DIR/log.
# Usage: slurm_test.sh TANDEM_SCAN SOURCE_DIR SCRATCH_DIR
set -u
scan=$(readlink -f "$1") source=$(readlink -f "$2") scratch=$3
pids=()

fail() {
  echo "FAIL: $*" >&2
  for log in "$scratch"/log/*.log; do
    [ -s "$log" ] && { echo "---- $log" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}
stop_daemons() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2>/dev/null
  done
}
trap stop_daemons EXIT

for program in munged slurmctld slurmd sbatch squeue; do
  command -v "$program" >/dev/null 2>&1 || [ -x "/usr/sbin/$program" ] || {
    echo "SKIP: $program is not installed (apt-get install slurm-wlm munge)"
    exit 77
  }
done
export PATH=$PATH:/usr/sbin

rm -rf "$scratch"
mkdir -p "$scratch"/{munge,state,spool,run,log,work} || fail "cannot make $scratch"
scratch=$(readlink -f "$scratch")
chmod 700 "$scratch/munge"

# munged refuses a key that others may read, and a socket directory others may write.
dd if=/dev/urandom of="$scratch/munge/munge.key" bs=1024 count=1 status=none
chmod 400 "$scratch/munge/munge.key"
chmod 755 "$scratch/run"
socket=$scratch/run/munge.socket
munged --foreground --key-file="$scratch/munge/munge.key" --socket="$socket" \
  --pid-file="$scratch/run/munged.pid" --log-file="$scratch/log/munged.log" \
  --seed-file="$scratch/munge/munge.seed" &
pids+=($!)
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
[ -S "$socket" ] || fail "munged did not start"

port=$((20000 + $$ % 20000))
conf=$scratch/slurm.conf
cpus=$(nproc)
cat >"$conf" <<CONF
ClusterName=tandemtest
SlurmctldHost=localhost(127.0.0.1)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
SlurmctldPort=$port
SlurmdPort=$((port + 1))
StateSaveLocation=$scratch/state
SlurmdSpoolDir=$scratch/spool
SlurmctldPidFile=$scratch/run/slurmctld.pid
SlurmdPidFile=$scratch/run/slurmd.pid
SlurmctldLogFile=$scratch/log/slurmctld.log
SlurmdLogFile=$scratch/log/slurmd.log
SlurmctldDebug=info
SlurmdDebug=info
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=test Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF=$conf

slurmctld -D -i -f "$conf" >"$scratch/log/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$conf" -N localhost >"$scratch/log/slurmd.out" 2>&1 &
pids+=($!)
ready=no
for _ in $(seq 100); do
  if sinfo -h -o %T 2>/dev/null | grep -qE '^(idle|mixed|allocated)'; then
    ready=yes
    break
  fi
  sleep 0.3
done
[ "$ready" = yes ] || fail "the Slurm node did not come up: $(sinfo 2>&1 | tail -n 3)"

cd "$scratch/work" || fail "no work directory"
cp "$source/examples/hilda-3-2/tandem.inp" .
what='--ratio 1.3:2.1 --max-k2 7'
export TANDEM_SCAN=$scan SCAN=$what
ids=$(sh "$source/examples/cluster/submit-slurm.sh" 3) || fail "submission failed: $ids"
echo "submitted: $ids"
for _ in $(seq 600); do
  [ -z "$(squeue -h 2>/dev/null)" ] && break
  sleep 0.5
done
[ -z "$(squeue -h 2>/dev/null)" ] || fail "the jobs did not end within 5 minutes: $(squeue)"
[ -f atlas.csv ] || fail "no atlas.csv after the merge job: $(cat parts/*.out 2>/dev/null)"
# shellcheck disable=SC2086
"$scan" $what --quiet --output single.csv || fail "the single-process scan failed"
cmp atlas.csv single.csv || fail "the merged catalogue differs from the single process's"
echo "ok: $(($(wc -l <atlas.csv) - 1)) rows from a 3-task Slurm array, identical to one process"
