#!/bin/sh
# Pictures of the login skin for a look by eye (ImageMagick):
#   contact_sheet.sh <BMP/LOGIN folder> <sheet.png> <window.png>
# sheet.png: every face, enlarged, labelled with its file name.
# window.png: the login window put together from the pieces the way the program paints it
# (background, corners, bands, version "1.0.6.0", buttons, labels, the edit boxes as plain white
# boxes), clipped to its rounded region, shown idle, logging in and after a failure.
set -eu
D=$1; SHEET=$2; WINDOW=$3
TMP=$(mktemp -d)
# A font ImageMagick can find (its default, Helvetica, is often missing).
FONT=$(fc-match -f '%{file}' sans 2>/dev/null || true)
[ -n "$FONT" ] || FONT=DejaVu-Sans
trap 'rm -rf "$TMP"' EXIT

# --- contact sheet ---------------------------------------------------------------------------
faces=""
for b in address search player copy download enter cancel; do
  n=$b.bmp; [ "$b" = download ] && n=download.BMP
  faces="$faces $n ${b}_over.bmp ${b}_down.bmp"
done
labels="name.BMP password.BMP ip.BMP port.BMP running.bmp login_point.bmp"
digits=""
for i in 0 1 2 3 4 5 6 7 8 9; do digits="$digits login_$i.bmp"; done
(cd "$D" && montage -label '%f' $faces -filter point -resize 300% -tile 3x \
   -geometry +10+6 -background '#0d0f12' -fill '#c8d0d8' -font "$FONT" -pointsize 11 "$TMP/faces.png")
(cd "$D" && montage -label '%f' $labels $digits -background '#0d0f12' -filter point -resize 300% \
   -gravity center -extent 96x66 -tile 4x -geometry +6+6 -fill '#c8d0d8' -font "$FONT" \
   -pointsize 11 "$TMP/small.png")
convert "$TMP/faces.png" "$TMP/small.png" -background '#0d0f12' -gravity center -append +repage "$SHEET"

# --- the window ------------------------------------------------------------------------------
# A bitmap stretched to its target rectangle, as the program draws it: <file> <x> <y> <w> <h>
img() { printf " \\( '%s/%s' -resize %sx%s! \\) -geometry +%s+%s -composite" "$D" "$1" "$4" "$5" "$2" "$3"; }
base="$(img spacer.bmp 0 0 304 341)$(img left_top.bmp 0 0 21 34)$(img right_top.bmp 278 0 26 34)"
base="$base$(img left_down.bmp 0 319 25 22)$(img right_down.bmp 280 319 24 22)"
base="$base$(img top_middle1.bmp 21 0 257 12)$(img top_middle2.bmp 21 12 257 22)"
base="$base$(img left_middle.bmp 0 34 21 285)$(img right_middle.bmp 278 34 26 285)"
base="$base$(img down_middle.bmp 25 319 255 22)"
i=0
for c in 1 . 0 . 6 . 0; do
  f=login_$c.bmp; [ "$c" = . ] && f=login_point.bmp
  base="$base$(img $f $((182 + 10 * i)) 13 10 20)"; i=$((i + 1))
done
buttons="$(img address.bmp 30 50 34 34)$(img search.bmp 80 50 34 34)$(img player.bmp 130 50 34 34)"
buttons="$buttons$(img copy.bmp 180 50 34 34)$(img download.BMP 230 50 34 34)"
buttons="$buttons$(img name.BMP 30 100 28 28)$(img password.BMP 30 136 28 28)"
buttons="$buttons$(img ip.BMP 30 172 28 28)$(img port.BMP 30 208 28 28)"
edits="-fill white -stroke '#000000' -draw 'rectangle 93,100 272,127' -draw 'rectangle 93,136 272,163'"
edits="$edits -draw 'rectangle 93,172 272,199' -draw 'rectangle 93,208 192,235' -stroke none"
edits="$edits -fill black -font '$FONT' -pointsize 11 -draw \"text 98,118 'admin'\""
edits="$edits -draw \"text 98,154 '******'\" -draw \"text 98,190 '192.168.1.10'\" -draw \"text 98,226 '80'\""

window() {  # <out> <extra draw commands>
  eval convert -size 304x341 xc:none $base $buttons $edits $2 "$TMP/raw.png"
  # The window's region: a rounded rectangle over (0,0)-(303,340), without its last column and row.
  convert -size 304x341 xc:black -fill white +antialias -draw 'roundrectangle 0,0 302,339 7,7' \
    "$TMP/mask.png"
  convert "$TMP/raw.png" "$TMP/mask.png" -alpha off -compose CopyOpacity -composite \
    -background '#4d6275' -compose over -flatten "$1"
}
window "$TMP/idle.png" "$(img enter.bmp 50 275 32 32)$(img cancel.bmp 215 275 32 32)"
# Logging in: hover on Connect, the bar (18 half-blocks of 10) with the block at step 6.
window "$TMP/busy.png" "$(img enter_over.bmp 50 275 32 32)$(img cancel.bmp 215 275 32 32) \
  -fill 'rgb(157,216,244)' -stroke 'rgb(157,216,244)' -draw 'rectangle 74,245 253,256' -stroke none \
  $(img running.bmp 134 245 20 12)"
# Failed: the status text in the program's blue; Cancel pressed.
window "$TMP/failed.png" "$(img enter.bmp 50 275 32 32)$(img cancel_down.bmp 215 275 32 32) \
  -fill 'rgb(0,20,255)' -font '$FONT' -pointsize 12 -draw \"text 74,258 'Login procedure failed'\""
convert "$TMP/idle.png" "$TMP/busy.png" "$TMP/failed.png" -bordercolor '#4d6275' -border 12 +append \
  -filter point -resize 200% "$WINDOW"
