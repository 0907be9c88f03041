#!/usr/bin/env bash
# Installs the build into a prefix of its own and uses it from there as a user
# would: the programs through their links in bin/, the instrument library
# found beside the installed programs, the desktop entry, icons and udev rules.
# usage: tests/install/check_install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check_install.sh BUILD_DIR}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d /tmp/qv70-install-XXXXXX)
sim_pid=""
finish() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$prefix"
}
trap finish EXIT
fail() { echo "install check: $*" >&2; exit 1; }
# "WIDTH HEIGHT" of a PNG file, from its header.
png_size() {
  local b
  [ -f "$1" ] || { echo "none"; return; }
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3])) $(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

cmake --install "$build" --prefix "$prefix" >/dev/null

program_dir=$prefix/lib/qv70
for name in qv70cli qv70-sim libZvUsbSgl.so ZvUsbSgl.conf Logo_ZAVEL.bmp; do
  [ -f "$program_dir/$name" ] || fail "no $program_dir/$name"
done
[ -d "$program_dir/DAT" ] || fail "no $program_dir/DAT"
for name in qv70cli qv70-sim; do
  [ -L "$prefix/bin/$name" ] && [ -x "$prefix/bin/$name" ] || fail "no link $prefix/bin/$name"
done

help=$("$prefix/bin/qv70cli" --help)
grep -q "example: qv70cli dump" <<<"$help" || fail "qv70cli --help lists no examples"
dump=$("$prefix/bin/qv70cli" dump "$source_dir/examples/current_comma_period.csv")
[ "$dump" = "$("$build/bin/qv70cli" dump "$source_dir/examples/current_comma_period.csv")" ] ||
  fail "the installed qv70cli dumps differently"

# The simulator and the library, both as installed: qv70cli loads
# libZvUsbSgl.so from the program folder it was started from through the link.
socket=$prefix/sim.sock
"$prefix/bin/qv70-sim" --demo --socket "$socket" >"$prefix/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
QV70_SIM_SOCKET=$socket "$prefix/bin/qv70cli" count >"$prefix/count.txt" || fail "qv70cli count through the link failed"
[ -s "$prefix/count.txt" ] || fail "qv70cli count said nothing"

rules=$prefix/lib/udev/rules.d
grep -q 'ENV{ID_QV70}="1"' "$rules/60-qv70.rules" || fail "60-qv70.rules does not tag the instrument"
grep -q 'TAG+="uaccess"' "$rules/70-qv70-uaccess.rules" || fail "70-qv70-uaccess.rules grants no access"

if [ -x "$build/bin/qv70" ]; then
  [ -L "$prefix/bin/qv70" ] && [ -x "$prefix/bin/qv70" ] || fail "no link $prefix/bin/qv70"
  desktop=$prefix/share/applications/qv70.desktop
  desktop-file-validate "$desktop" || fail "$desktop does not validate"
  grep -qx "Exec=$prefix/bin/qv70" "$desktop" || fail "$desktop does not start $prefix/bin/qv70"
  icons=$prefix/share/icons/hicolor
  for size in 16 22 24 32 48 64 128 256; do
    [ "$(png_size "$icons/${size}x${size}/apps/qv70.png")" = "$size $size" ] || fail "no ${size}x${size} icon"
  done
  [ -f "$icons/scalable/apps/qv70.svg" ] || fail "no scalable icon"
fi
echo "install check: $prefix used through its links: qv70cli --help, dump and count; desktop entry valid"
