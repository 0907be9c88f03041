#!/bin/sh
# A short monkey run, twice with the same seed: both must end without a
# finding and take the same steps, or a finding could not be replayed.
#   replay_check.sh MONKEY SEED STEPS
set -eu
monkey=$1 seed=$2 steps=$3
work=$(mktemp -d /tmp/qv70-monkey-replay-XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
for run in first second; do
  "$monkey" --seed "$seed" --steps "$steps" --work "$work/$run" >"$work/$run.out"
  # Memory figures differ from run to run; the steps may not.
  grep -v '^    memory after run' "$work/$run/steps.log" | sed "s|$work/$run|WORK|g" >"$work/$run.steps"
done
if ! cmp -s "$work/first.steps" "$work/second.steps"; then
  echo "the same seed took different steps:"
  diff "$work/first.steps" "$work/second.steps" | head -n 20
  exit 1
fi
cat "$work/first.out"
