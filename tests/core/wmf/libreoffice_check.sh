#!/bin/sh
# An RTF report read by LibreOffice, an independent reader of both RTF and
# WMF: `soffice --headless --convert-to pdf` must give one page per picture,
# each with the labels every RTF page carries.
#   libreoffice_check.sh FILE.rtf [OUTDIR]       checks FILE.rtf
#   libreoffice_check.sh --write PROGRAM [OUTDIR] lets PROGRAM write it first:
#       PROGRAM OUT.rtf, or with OUTDIR PROGRAM OUT.rtf OUTDIR/ours, which may
#       draw its own rendering of each page as OUTDIR/ours-<n>.png
# With OUTDIR the PDF, LibreOffice's pages as PNG (pdftoppm) and, where both
# renderings exist, OUTDIR/side-by-side-<n>.png (ImageMagick) are kept there:
# LibreOffice's on the left, ours on the right. The document sets no paper,
# so RTF's default Letter page with 1 inch margins (9 inches for the 9.375
# inch pictures) cuts off the foot of each picture; the PNGs are made from a
# copy of the file with an A4 page, so the whole picture can be looked at.
# Exits 77, which CTest counts as skipped, without soffice or pdfinfo.
set -eu
for tool in soffice pdfinfo pdftotext; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "skipped: $tool is not installed, so the RTF file is not read by LibreOffice"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "$1" = "--write" ]; then
  out=${3:-}
  rtf="$work/report.rtf"
  if [ -n "$out" ]; then
    mkdir -p "$out"
    "$2" "$rtf" "$out/ours" >/dev/null
  else
    "$2" "$rtf" >/dev/null
  fi
else
  rtf=$1
  out=${2:-}
fi

pictures=$(grep -c 'pict\\wmetafile8' "$rtf" || true)
convert_pdf() {  # RTF-FILE
  soffice "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf --outdir "$work" "$1" \
    >"$work/soffice.log" 2>&1 || true
}

cp "$rtf" "$work/as-written.rtf"
convert_pdf "$work/as-written.rtf"
if [ ! -s "$work/as-written.pdf" ]; then
  echo "FAILED: LibreOffice made no PDF of $rtf"
  cat "$work/soffice.log"
  exit 1
fi
pages=$(pdfinfo "$work/as-written.pdf" | sed -n 's/^Pages: *//p')
status=0
if [ "$pages" -ne "$pictures" ]; then
  echo "FAILED: LibreOffice shows $pages pages for $pictures pictures"
  status=1
fi
page=1
while [ "$page" -le "$pages" ]; do
  text=$(pdftotext -f "$page" -l "$page" "$work/as-written.pdf" -)
  for label in "Data Name" "Comment" "QV70 S/N" "Date:" "Test Method:" "Leak Current:"; do
    case "$text" in
      *"$label"*) ;;
      *) echo "FAILED: page $page as LibreOffice shows it has no \"$label\""; status=1 ;;
    esac
  done
  page=$((page + 1))
done

if [ -n "$out" ]; then
  cp "$work/as-written.pdf" "$out/libreoffice.pdf"
  # A4 with half-inch margins: the 10300 x 13500 twip picture fits whole,
  # its top-left corner half an inch (72 pixels at 144 per inch) in.
  sed '1s/^{\\rtf1\\ansi/{\\rtf1\\ansi\\paperw11906\\paperh16838\\margl720\\margr720\\margt720\\margb720/' \
    "$rtf" >"$work/a4.rtf"
  convert_pdf "$work/a4.rtf"
  if command -v pdftoppm >/dev/null 2>&1 && [ -s "$work/a4.pdf" ]; then
    pdftoppm -r 144 -png "$work/a4.pdf" "$work/lo"
    page=1
    for png in $(ls "$work"/lo-*.png | sort); do
      cp "$png" "$out/libreoffice-$page.png"
      if [ -f "$out/ours-$page.png" ] && command -v convert >/dev/null 2>&1; then
        convert "$png" -crop 1030x1350+72+72 +repage -resize '1360x1760!' "$out/ours-$page.png" +append \
          "$out/side-by-side-$page.png"
      fi
      page=$((page + 1))
    done
  fi
fi
[ $status -eq 0 ] && echo "LibreOffice read all $pictures pictures of $rtf"
exit $status
