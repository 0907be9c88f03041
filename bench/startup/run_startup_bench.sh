#!/bin/bash
# Start-up to first painted main window (against an empty QMainWindow), the Obtain Data window's full demo
# download against the same download without a window, and memory: the
# largest peak (/usr/bin/time -v) of the program's window code started empty,
# after File > Open of the largest data file and after the download, all
# under Xvfb against qv70-sim.
#   bench/startup/run_startup_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
bin=$(cd "$build/bin" && pwd)
[ -x "$bin/qv70-startup-probe" ] || { echo "missing $bin/qv70-startup-probe (build target qv70-startup-probe)"; exit 1; }

work=$(mktemp -d)
sim=
trap '[ -n "$sim" ] && kill $sim 2>/dev/null; rm -rf "$work"' EXIT
export QV70_SIM_SOCKET=$work/sim.sock
"$bin/qv70-sim" --demo --socket "$QV70_SIM_SOCKET" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -S "$QV70_SIM_SOCKET" ] && break; sleep 0.1; done

probe() {
  xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/qv70-startup-probe" "$@" 2>/dev/null
}
# The largest peak of one probe run in kB, as /usr/bin/time -v tells it.
peak_kb() {
  xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/time -v "$bin/qv70-startup-probe" "$@" 2>&1 >/dev/null |
    awk '/Maximum resident set size/ {print $6}'
}

# One unmeasured run warms the file cache, as a second start of the program would find it.
probe >/dev/null
# The program's start-up and, in turns with it, the baseline: an empty
# QMainWindow of the default size (800 x 600) painted by the same kind of process.
for i in $(seq "$runs"); do
  probe | awk '/^exec_to_paint_ms/ {print $2}' >> "$work/times"
  probe --bare | awk '/^exec_to_paint_ms/ {print $2}' >> "$work/bare"
done
median() { sort -n "$1" | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]}'; }
sort -n "$work/times" | awk -v bare="$(median "$work/bare")" '{a[NR]=$1} END {
  m = a[int((NR+1)/2)]
  printf "start-up to first paint over %d runs: median %.1f ms, min %.1f ms, max %.1f ms;", NR, m, a[1], a[NR]
  printf " baseline (empty QMainWindow) median %.1f ms; ratio %.1f\n", bare, m / bare}'
echo "full demo download:"
probe --download | sed 's/^/  /'

# The largest data file at hand: everything the demo instrument holds (73
# records, all ten logging sets full at 360 samples), as qv70cli saves it.
"$bin/qv70cli" download -o "$work/largest.csv" >/dev/null 2>&1
echo "the largest data file opened ($(wc -c < "$work/largest.csv") bytes):"
probe --open "$work/largest.csv" | sed 's/^/  /'
empty=$(peak_kb)
opened=$(peak_kb --open "$work/largest.csv")
downloaded=$(peak_kb --download)
echo "peak memory (/usr/bin/time -v): empty $empty kB; largest file open $opened kB ($((opened - empty)) kB more);" \
     "after the download $downloaded kB ($((downloaded - empty)) kB more)"
