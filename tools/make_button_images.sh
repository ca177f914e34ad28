#!/bin/bash
# Draws the twenty button images of the viewer (16 x 16 GIFs) into Img/.
# Each is a light button face with a dark glyph that shows what the button
# does. Needs ImageMagick 6; run from anywhere: tools/make_button_images.sh
set -euo pipefail

CONVERT=${CONVERT:-/usr/bin/convert}
OUT=${1:-"$(cd "$(dirname "$0")/.." && pwd)/Img"}
mkdir -p "$OUT"

FACE='#EEF2FA'
EDGE='#7F8FB0'
INK='#1C3A80'
STOP='#B01818'
CLOCK='#1C6A30'

# A 3 x 5 pixel digit at (x, y), as ImageMagick point primitives.
digit() {
    local rows x=$2 y=$3 out=""
    case $1 in
    1) rows=(010 110 010 010 111) ;;
    2) rows=(111 001 111 100 111) ;;
    3) rows=(111 001 011 001 111) ;;
    esac
    for r in 0 1 2 3 4; do
        for c in 0 1 2; do
            if [ "${rows[$r]:$c:1}" = 1 ]; then
                out+=" point $((x + c)),$((y + r))"
            fi
        done
    done
    echo "$out"
}

# button NAME COLOUR PRIMITIVES...: the face, its edge, then the glyph.
button() {
    local name=$1 colour=$2
    shift 2
    "$CONVERT" -size 16x16 xc:white -fill "$FACE" -stroke "$EDGE" -strokewidth 1 \
        -draw "roundrectangle 0,0 15,15 3,3" \
        -fill "$colour" -stroke none -draw "$*" \
        +dither -colors 16 "$OUT/$name.gif"
}

# Stroked lines and outlines in the glyph colour.
stroked() {
    local colour=$1
    shift
    echo "stroke $colour stroke-width 1 fill none $*"
}

# Picture steps and the slide show: triangles, bars and a square.
button BtnFirst "$INK" "rectangle 3,4 4,11 polygon 11,4 11,11 6,7.5"
button BtnPrev "$INK" "polygon 10,4 10,11 5,7.5"
button BtnAutoP "$INK" "polygon 8,4 8,11 3,7.5 polygon 13,4 13,11 8,7.5"
button BtnStop "$STOP" "rectangle 4,4 11,11"
button BtnAutoN "$INK" "polygon 3,4 3,11 8,7.5 polygon 8,4 8,11 13,7.5"
button BtnNext "$INK" "polygon 5,4 5,11 10,7.5"
button BtnLast "$INK" "polygon 4,4 4,11 9,7.5 rectangle 11,4 12,11"

# Size modes: natural size 1:1, fit height (arrow between top and bottom),
# fit width (arrow between left and right), fit (a picture filling the corners of its frame).
button BtnGen "$INK" "$(digit 1 3 5) point 7,6 point 7,8 $(digit 1 9 5) rectangle 2,3 13,3 rectangle 2,12 13,12"
button BtnTATE "$INK" "rectangle 3,2 12,2 rectangle 3,13 12,13 rectangle 7,4 8,11 polygon 4,6 11,6 7.5,3 polygon 4,9 11,9 7.5,12"
button BtnYOKO "$INK" "rectangle 2,3 2,12 rectangle 13,3 13,12 rectangle 4,7 11,8 polygon 6,4 6,11 3,7.5 polygon 9,4 9,11 12,7.5"
button BtnFIT "$INK" "rectangle 2,2 5,2 rectangle 2,2 2,5 rectangle 10,2 13,2 rectangle 13,2 13,5 rectangle 2,13 5,13 rectangle 2,10 2,13 rectangle 10,13 13,13 rectangle 13,10 13,13 rectangle 4,4 11,11"

# Intervals: a clock with the number of the interval.
clock() {
    echo "$(stroked "$CLOCK" circle 6,6 6,1.5 line 6,6 6,3 line 6,6 8,7) stroke none fill $CLOCK $(digit "$1" 11 9)"
}
button BtnTIME1 "$CLOCK" "$(clock 1)"
button BtnTIME2 "$CLOCK" "$(clock 2)"
button BtnTIME3 "$CLOCK" "$(clock 3)"

# Zoom: a magnifying glass holding a plus (a fifth larger), a plus and a 2
# (twice the size), the equals sign (back to the size it started with), a minus
# (a fifth smaller) or a minus and a 2 (half the size).
lens() {
    echo "$(stroked black circle 6,6 6,1.5) stroke black stroke-width 2 line 9.5,9.5 13,13 stroke none fill $INK $*"
}
button BtnZoom200 "$INK" "$(lens rectangle 4,6 8,6 rectangle 6,4 6,8 $(digit 2 12 1))"
button BtnZoom120 "$INK" "$(lens rectangle 4,6 8,6 rectangle 6,4 6,8)"
button BtnZoom100 "$INK" "$(lens rectangle 4,5 8,5 rectangle 4,7 8,7)"
button BtnZoom080 "$INK" "$(lens rectangle 4,6 8,6)"
button BtnZoom050 "$INK" "$(lens rectangle 4,6 8,6 $(digit 2 12 1))"

# Thumbnails: a grid of small pictures.
button BtnSum "$INK" "rectangle 3,3 5,5 rectangle 7,3 9,5 rectangle 11,3 13,5 rectangle 3,7 5,9 rectangle 7,7 9,9 rectangle 11,7 13,9 rectangle 3,11 5,13 rectangle 7,11 9,13 rectangle 11,11 13,13"
