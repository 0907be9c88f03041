#!/bin/sh
# Builds every fuzz target in BUILD_DIR (clang, sanitizers) and runs each over
# its corpus folder once. Exits non-zero when a build fails or any input crashes.
# usage: fuzz/replay.sh BUILD_DIR
# BUILD_DIR must be new or one configured by this script: the compiler of an
# existing build folder cannot be switched to clang.
set -eu
if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$1
source_dir=$(cd "$(dirname "$0")/.." && pwd)

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" -DQV70_BUILD_FUZZ=ON \
  -DQV70_BUILD_UI=OFF -DQV70_BUILD_TESTS=OFF -DQV70_BUILD_BENCH=OFF >/dev/null
list="$build/fuzz/fuzz_targets.txt"
targets=$(cut -d' ' -f1 "$list")
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

status=0
while read -r name corpus; do
  [ -n "$name" ] || continue
  count=$(find "$corpus" -type f | wc -l)
  echo "replaying $count inputs of $corpus through $name"
  if ! find "$corpus" -type f -print0 | xargs -0 -r "$build/fuzz/$name" -runs=1 >"$build/fuzz/$name.log" 2>&1; then
    echo "FAILED: $name (see $build/fuzz/$name.log)" >&2
    status=1
  fi
done <"$list"
exit $status
