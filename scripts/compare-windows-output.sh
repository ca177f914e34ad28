#!/usr/bin/env bash
# Runs `show` of the Linux vimbrel-cli and of vimbrel-cli.exe under Wine on
# one folder of pictures (the BMP Suite's good bitmaps and JPEGs of every
# colour model and orientation, named in Japanese, with emoji, # and %, in
# names whose order both systems agree on) and
# checks that both write the same small images, byte for byte, and the same
# seven pages apart from the lines that hold the folder paths.
# Usage: scripts/compare-windows-output.sh LINUX_CLI WINDOWS_CLI
set -euo pipefail
cd "$(dirname "$0")/.."
linux_cli=$1
windows_cli=$2
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
work=$(mktemp -d /tmp/vimbrel-compare-XXXXXX)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
pictures=$work/pictures
mkdir -p "$pictures"
# Windows and ICU weigh punctuation differently ("pal8-0" and "pal8.bmp"):
# the names go without their hyphens.
for bitmap in ../shared/corpus/bmp/g/*.bmp; do
  name=$(basename "$bitmap")
  cp "$bitmap" "$pictures/${name//-/}"
done
convert -size 640x480 gradient:red-blue "$pictures/写真 #1 100%.jpg"
convert -size 480x640 plasma:fractal -seed 7 "$pictures/z 縦 😀.jpg" 2>/dev/null ||
  convert -size 480x640 gradient:green-yellow "$pictures/z 縦 😀.jpg"
convert -size 300x200 gradient:white-black -colorspace Gray "$pictures/grey.jpg"
convert -size 300x200 gradient:cyan-magenta -colorspace CMYK "$pictures/cmyk.jpg"
convert -size 400x300 gradient:orange-purple -orient RightTop "$pictures/turned.jpg"
convert -size 400x300 gradient:orange-purple -interlace JPEG "$pictures/progressive.jpg"
for side in linux windows; do
  mkdir -p "$work/$side-app" "$work/$side-pictures"
  cp -r "$pictures/." "$work/$side-pictures/"
  printf '[MENU]\r\nSMALL_POS=1\r\n' >"$work/$side-app/Vimbrel.INI"
done
"$linux_cli" show "$work/linux-pictures" --app-folder "$work/linux-app" >/dev/null 2>&1
wine "$windows_cli" show "Z:${work//\//\\}\\windows-pictures" --app-folder "Z:${work//\//\\}\\windows-app" >/dev/null
failed=0
count=0
for small in "$work"/linux-pictures/img_s/*; do
  name=$(basename "$small")
  count=$((count + 1))
  if ! cmp -s "$small" "$work/windows-pictures/img_s/$name"; then
    echo "compare-windows-output: small image $name differs" >&2
    failed=1
  fi
done
[ "$(ls "$work/windows-pictures/img_s" | wc -l)" -eq "$count" ] || {
  echo "compare-windows-output: the two made different numbers of small images" >&2
  failed=1
}
# The folder paths are the only lines that may differ: they name
# linux-pictures in one and windows-pictures in the other.
for page in index.htm menu.htm btns.htm main.htm sum_frame.htm sum_head.htm sum_main.htm; do
  if ! diff <(sed 's/linux-pictures/PICTURES/g' "$work/linux-app/Work/$page") \
            <(sed 's/windows-pictures/PICTURES/g' "$work/windows-app/Work/$page") >/dev/null; then
    echo "compare-windows-output: $page differs" >&2
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "compare-windows-output: $count small images and 7 pages the same on Linux and Windows"
exit "$failed"
