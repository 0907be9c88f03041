#!/bin/sh
# RTF written by another program: LibreOffice converts a formatted text to RTF
# and the comment's reader (the program given as $1) must keep every line of
# its text. Exits 77, which CTest counts as skipped, without LibreOffice.
set -eu
reader=$1
if ! command -v soffice >/dev/null 2>&1; then
  echo "skipped: LibreOffice (soffice) is not installed, so RTF from another program is not checked"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/comment.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<p><b>Tested at 500 V</b> on <i>cable 3</i>, <u>phase L1</u></p>
<p><span style="color:#ff0000">Insulation</span> <s>poor</s> <font face="Liberation Serif" size="5">good</font>: 绝缘电阻 良好</p>
<p>Braces {x} and back\slash; résumé – 10 °C</p>
</body></html>
HTML
soffice "-env:UserInstallation=file://$work/profile" --headless --infilter="HTML (StarWriter)" \
  --convert-to rtf --outdir "$work" "$work/comment.html" >"$work/soffice.log" 2>&1 || true
if [ ! -s "$work/comment.rtf" ]; then
  echo "FAILED: soffice wrote no RTF"
  cat "$work/soffice.log"
  exit 1
fi
"$reader" "$work/comment.rtf" >"$work/read.txt"

status=0
while IFS= read -r line; do
  if ! grep -qF -- "$line" "$work/read.txt"; then
    echo "FAILED: the reader lost \"$line\""
    status=1
  fi
done <<'TEXT'
Tested at 500 V on cable 3, phase L1
Insulation poor good: 绝缘电阻 良好
Braces {x} and back\slash; résumé – 10 °C
TEXT
if [ $status -ne 0 ]; then
  echo "The reader gave:"
  cat "$work/read.txt"
fi
exit $status
