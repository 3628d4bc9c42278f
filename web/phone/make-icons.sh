#!/bin/sh
# Draws the page's "Q" icons into site/icons with ImageMagick. The PNGs are
# committed, so build.sh does not need ImageMagick; run this only to change them.
set -eu
cd "$(dirname "$0")/site/icons"
BLUE='#2d5bd0'
# A ring and a tail: drawn, not set in a font, so the result is the same everywhere.
draw() { # out size scale background(round|full)
  out=$1; s=$2; k=$3; bg=$4
  c=$(awk -v s="$s" 'BEGIN{print s/2}')
  r=$(awk -v s="$s" -v k="$k" 'BEGIN{print s*0.25*k}')
  w=$(awk -v s="$s" -v k="$k" 'BEGIN{print s*0.1*k}')
  cy=$(awk -v c="$c" -v s="$s" -v k="$k" 'BEGIN{print c - s*0.02*k}')
  x1=$(awk -v c="$c" -v r="$r" 'BEGIN{print c + r*0.3}')
  y1=$(awk -v c="$c" -v r="$r" 'BEGIN{print c + r*0.35}')
  x2=$(awk -v c="$c" -v r="$r" 'BEGIN{print c + r*1.1}')
  y2=$(awk -v c="$c" -v r="$r" 'BEGIN{print c + r*1.15}')
  ex=$(awk -v c="$c" -v r="$r" 'BEGIN{print c + r}')
  m=$((s - 1)); rad=$((s * 22 / 100))
  if [ "$bg" = round ]; then
    shape="roundrectangle 0,0 $m,$m $rad,$rad"
    base="xc:none"
  else
    shape="rectangle 0,0 $m,$m"
    base="xc:$BLUE"
  fi
  convert -size "${s}x${s}" "$base" \
    -fill "$BLUE" -draw "$shape" \
    -fill none -stroke white -strokewidth "$w" -draw "circle $c,$cy $ex,$cy" \
    -draw "stroke-linecap round line $x1,$y1 $x2,$y2" \
    -strip "PNG32:$out"
}
draw icon-192.png 192 1 round
draw icon-512.png 512 1 round
# Maskable: full bleed, the letter inside the central safe circle.
draw maskable-512.png 512 0.78 full
draw apple-touch-icon.png 180 0.9 full
