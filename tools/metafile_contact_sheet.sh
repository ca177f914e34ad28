#!/bin/bash
# Puts the metafile player's pictures next to their reference renderings for
# the N pictures with the lowest PSNR against GDI, one row each (ours left,
# then GDI's drawing as Wine makes it, then LibreOffice's), so that a person
# can see what differs.
#
#   tools/metafile_contact_sheet.sh BUILD_DIR OUT.png [N]
#
# BUILD_DIR is a build with tests (build-sanitize after scripts/test.sh);
# the corpus is read from ../shared/corpus/ beside the project, as the test
# reads it. Needs ImageMagick 6.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR OUT.png [N]" >&2
    exit 2
fi
BUILD=$(cd "$1" && pwd)
OUT=$2
COUNT=${3:-10}
PROJECT=$(cd "$(dirname "$0")/.." && pwd)
CORPUS="$PROJECT/../shared/corpus/metafile"
TEST="$BUILD/tests/viewer/metafile/test_viewer_metafile"
FONT=$(fc-match -f '%{file}' 'DejaVu Sans')

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/ours"

QT_QPA_PLATFORM=offscreen VIMBREL_WRITE_METAFILE_RENDERINGS="$WORK/ours" \
    "$TEST" --gtest_filter='MetafileCorpus.*' >"$WORK/log" || true
# The test prints one line per picture: name, PSNR against GDI, against
# LibreOffice, and of the two references against each other.
grep -P '^\S+\.(wmf|emf)\t[0-9.]+\t' "$WORK/log" | cut -f1,2 | sort -t $'\t' -k2,2g |
    head -n "$COUNT" >"$WORK/worst"
if [ ! -s "$WORK/worst" ]; then
    echo "the metafile test printed no figures; see $TEST" >&2
    exit 1
fi

# One picture with its caption below, on white (references may be transparent).
cell() {
    convert -font "$FONT" -pointsize 13 "$1" -background white -flatten -resize '400x300>' \
        -bordercolor '#888' -border 1 -gravity center label:"$2" -append +repage "$3"
}

rows=()
while IFS=$'\t' read -r name figure; do
    n=${#rows[@]}
    cell "$WORK/ours/$name.png" "ours: $name, $figure dB against GDI" "$WORK/ours-$n.png"
    cell "$CORPUS/reference-gdi/$name.png" "GDI (Wine)" "$WORK/gdi-$n.png"
    cell "$CORPUS/reference/$name.png" "LibreOffice" "$WORK/libreoffice-$n.png"
    convert "$WORK/ours-$n.png" "$WORK/gdi-$n.png" "$WORK/libreoffice-$n.png" -bordercolor '#ddd' \
        -border 4 -gravity north -background '#ddd' +append +repage "$WORK/row-$n.png"
    rows+=("$WORK/row-$n.png")
done <"$WORK/worst"
convert "${rows[@]}" -background '#ddd' -gravity west -append +repage -depth 8 "$OUT"
echo "wrote $OUT"
