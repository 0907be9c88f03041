#!/bin/bash
# Start-up to first painted main window and memory after a full demo download,
# measured with the program's own window code under Xvfb against qv70-sim.
#   bench/startup/run_startup_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
bin=$(cd "$build/bin" && pwd)
[ -x "$bin/qv70-startup-probe" ] || { echo "missing $bin/qv70-startup-probe (build target qv70-startup-probe)"; exit 1; }

work=$(mktemp -d)
trap 'kill $sim 2>/dev/null || true; rm -rf "$work"' EXIT
export QV70_SIM_SOCKET=$work/sim.sock
"$bin/qv70-sim" --demo --socket "$QV70_SIM_SOCKET" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -S "$QV70_SIM_SOCKET" ] && break; sleep 0.1; done

probe() {
  xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/qv70-startup-probe" "$@"
}

# One unmeasured run warms the file cache, as a second start of the program would find it.
probe >/dev/null
for i in $(seq "$runs"); do probe | awk '/^exec_to_paint_ms/ {print $2}'; done > "$work/times"
sort -n "$work/times" | awk '{a[NR]=$1} END {
  printf "start-up to first paint over %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n",
         NR, a[int((NR+1)/2)], a[1], a[NR]}'
echo "full demo download:"
probe --download | sed 's/^/  /'
