#!/bin/sh
# Every picture of an RTF report read by libwmf, an independent WMF reader:
# wmf2svg must convert each one without an error or a warning.
#   libwmf_check.sh FILE.rtf [PICTURES]    checks FILE.rtf (and that it holds PICTURES)
#   libwmf_check.sh --write PROGRAM        lets PROGRAM OUT.rtf write the report first;
#                                          it prints the number of pages it wrote
# Exits 77, which CTest counts as skipped, without wmf2svg (Debian's libwmf-bin).
set -eu
if ! command -v wmf2svg >/dev/null 2>&1; then
  echo "skipped: wmf2svg (libwmf-bin) is not installed, so the pictures are not read by libwmf"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "$1" = "--write" ]; then
  rtf="$work/report.rtf"
  expected=$("$2" "$rtf")
else
  rtf=$1
  expected=${2:-}
fi

# The picture groups as the export writes them: the group's opening and a line
# feed, the metafile in hexadecimal, then "}\fs24\par " and a line feed.
WORK="$work" perl -0777 -ne '
  my $n = 0;
  while (/\\pict\\wmetafile8\\picwgoal10300\\pichgoal13500 \n([0-9a-f]*)\}\\fs24\\par \n/g) {
    open(my $out, ">", sprintf("%s/page-%03d.wmf", $ENV{WORK}, ++$n)) or die "cannot write: $!";
    binmode $out;
    print $out pack("H*", $1);
    close $out;
  }' "$rtf"

count=$(find "$work" -name 'page-*.wmf' | wc -l)
if [ "$count" -eq 0 ]; then
  echo "FAILED: no picture found in $rtf"
  exit 1
fi
if [ -n "$expected" ] && [ "$count" -ne "$expected" ]; then
  echo "FAILED: $count pictures in $rtf, $expected pages written"
  exit 1
fi

status=0
for wmf in "$work"/page-*.wmf; do
  page=$(basename "$wmf" .wmf)
  if ! wmf2svg --wmf-error --wmf-diagnostics -o "$work/$page.svg" "$wmf" >"$work/$page.log" 2>&1 ||
     grep -q -E "ERROR|WARNING" "$work/$page.log"; then
    echo "FAILED: libwmf complains about $page:"
    grep -v "^New Record" "$work/$page.log" | head -20
    status=1
  fi
done
[ $status -eq 0 ] && echo "libwmf read all $count pictures of $rtf"
exit $status
