#!/usr/bin/env bash
# Rebuilds the embedded images of resources/ from scratch with ImageMagick only:
#   logo.png, settings.png, settings_hover.png, refresh.png, refresh_hover.png,
#   throbber.gif and fenmoor.png.
#
# Every shape is drawn at SS times its final size and then scaled down, which gives
# clean anti-aliased edges without relying on the renderer's own edge smoothing.
# The output carries no time stamps, so running the script twice yields the same bytes.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(cd "$here/.." && pwd)"

if command -v magick >/dev/null 2>&1; then
    im=(magick)
else
    im=(convert)
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

SS=4 # supersampling factor

# Palette. Greys match the window (#F5F6F7) and the version label (#717172).
GREY="#717172"
ACCENT="#1C7ED6"
INK="#26384A"       # word mark
TRACK="#C6CCD4"     # idle throbber dots
FONT_DIR="/usr/share/fonts/truetype/dejavu"
FONT_WORD="$FONT_DIR/DejaVuSans.ttf"

# PNG options: 8-bit RGBA, no time or text chunks (reproducible output).
# shellcheck disable=SC2054 # the commas belong to ImageMagick option values
png_opts=(-strip -define png:exclude-chunk=date,time,tEXt,zTXt,iTXt -define png:color-type=6 -define png:bit-depth=8)

# ---------------------------------------------------------------------------------------
# Gem mark: a brilliant cut seen from the side. Crown (table, star and bezel facets) over
# a pavilion that runs down to the culet, lit from the upper left. Geometry lives in a
# 100 x 88 unit box; gem_draw prints -draw primitives scaled by $1 and shifted by $2,$3.
# ---------------------------------------------------------------------------------------
GEM_W=100
GEM_H=88

gem_facets() {
    # colour | polygon points (unit box)
    cat <<'EOF'
#7ED8EA|2,30 28,4 26,30
#3DB7D8|28,4 50,30 26,30
#B4ECF5|28,4 72,4 50,30
#2698C8|72,4 74,30 50,30
#1B74B0|72,4 98,30 74,30
#2EA5D0|2,30 26,30 50,86
#1E86C2|26,30 50,30 50,86
#1768AA|50,30 74,30 50,86
#114B86|74,30 98,30 50,86
EOF
}

# gem_draw SCALE DX DY EDGE_WIDTH -> ImageMagick -draw arguments on stdout, one per line
gem_draw() {
    local s="$1" dx="$2" dy="$3" ew="$4"
    # Silhouette first, in a mid blue, so no background shows through the seams
    # between neighbouring facets.
    awk -v s="$s" -v dx="$dx" -v dy="$dy" 'BEGIN {
        n = split("2,30 28,4 72,4 98,30 50,86", p, " ")
        line = "fill #1E86C2 stroke none polygon"
        for (i = 1; i <= n; i++) { split(p[i], c, ","); line = line sprintf(" %.2f,%.2f", dx + c[1]*s, dy + c[2]*s) }
        print line
    }'
    gem_facets | awk -F'|' -v s="$s" -v dx="$dx" -v dy="$dy" '{
        n = split($2, p, " ")
        line = "fill " $1 " stroke none polygon"
        for (i = 1; i <= n; i++) { split(p[i], c, ","); line = line sprintf(" %.2f,%.2f", dx + c[1]*s, dy + c[2]*s) }
        print line
    }'
    # Facet edges: thin light lines that keep the cut readable at small sizes.
    awk -v s="$s" -v dx="$dx" -v dy="$dy" -v ew="$ew" 'function P(x, y) { return sprintf("%.2f,%.2f", dx + x*s, dy + y*s) }
    BEGIN {
        printf "fill none stroke rgba(255,255,255,0.55) stroke-width %.2f stroke-linejoin round stroke-linecap round", ew
        printf " polyline %s %s %s %s %s %s %s", P(2,30), P(28,4), P(26,30), P(50,86), P(50,30), P(28,4), P(50,30)
        print ""
        printf "fill none stroke rgba(255,255,255,0.55) stroke-width %.2f stroke-linejoin round stroke-linecap round", ew
        printf " polyline %s %s %s %s %s %s", P(72,4), P(74,30), P(50,86), P(74,30), P(50,30), P(72,4)
        print ""
        printf "fill none stroke rgba(255,255,255,0.55) stroke-width %.2f stroke-linecap round", ew
        printf " line %s %s", P(2,30), P(98,30)
        print ""
        # Outline in the darkest facet colour gives the mark a firm edge on light grey.
        printf "fill none stroke #0F3F70 stroke-width %.2f stroke-linejoin round", ew
        printf " polygon %s %s %s %s %s", P(2,30), P(28,4), P(72,4), P(98,30), P(50,86)
        print ""
    }'
}

# render_gem W H OUTFILE: gem centred on a transparent W x H canvas
render_gem() {
    local w="$1" h="$2" file="$3"
    local W=$((w * SS)) H=$((h * SS))
    local s dx dy ew
    s=$(awk -v W="$W" -v H="$H" -v gw="$GEM_W" -v gh="$GEM_H" 'BEGIN { a = W/gw; b = H/gh; printf "%.4f", (a < b ? a : b) * 0.98 }')
    dx=$(awk -v W="$W" -v s="$s" -v gw="$GEM_W" 'BEGIN { printf "%.2f", (W - gw*s)/2 }')
    dy=$(awk -v H="$H" -v s="$s" -v gh="$GEM_H" 'BEGIN { printf "%.2f", (H - gh*s)/2 }')
    ew=$(awk -v s="$s" 'BEGIN { printf "%.2f", s * 1.1 }')
    local args=()
    while IFS= read -r line; do args+=(-draw "$line"); done < <(gem_draw "$s" "$dx" "$dy" "$ew")
    "${im[@]}" -size "${W}x${H}" xc:none "${args[@]}" -filter Triangle -resize "${w}x${h}!" "$file"
}

# ---------------------------------------------------------------------------------------
# fenmoor.png: window icon, the gem mark alone.
# ---------------------------------------------------------------------------------------
render_gem 256 256 "$work/icon.png"
"${im[@]}" "$work/icon.png" "${png_opts[@]}" "$out/fenmoor.png"

# ---------------------------------------------------------------------------------------
# logo.png: gem mark and word mark on a transparent 926 x 106 canvas (shown at 463 x 53).
# ---------------------------------------------------------------------------------------
LOGO_W=926
LOGO_H=106
render_gem 122 106 "$work/logo-gem.png"
"${im[@]}" -background none -fill "$INK" -font "$FONT_WORD" -pointsize $((92 * SS)) \
    -kerning $((3 * SS)) label:Stelvane -trim +repage -filter Triangle -resize "25%" "$work/word.png"
"${im[@]}" -size "${LOGO_W}x${LOGO_H}" xc:none \
    "$work/logo-gem.png" -gravity West -geometry +0+0 -composite \
    "$work/word.png" -gravity West -geometry +146+0 -composite \
    "${png_opts[@]}" "$out/logo.png"

# ---------------------------------------------------------------------------------------
# settings.png / settings_hover.png: gear with eight teeth and a round hole, 40 x 40.
# ---------------------------------------------------------------------------------------
gear_polygon() {
    # $1 = canvas size; teeth: outer radius ro, root radius ri, 8 teeth with tapered flanks
    awk -v S="$1" 'BEGIN {
        pi = atan2(0, -1); c = S/2
        ro = S*0.455; ri = S*0.345; n = 8
        tip = 0.30; base = 0.44        # half widths of tooth tip / base as fraction of pitch
        line = "polygon"
        for (k = 0; k < n; k++) {
            a0 = 2*pi*k/n; p = 2*pi/n
            line = line sprintf(" %.2f,%.2f", c + ri*cos(a0 - base*p), c + ri*sin(a0 - base*p))
            line = line sprintf(" %.2f,%.2f", c + ro*cos(a0 - tip*p/2*1.6), c + ro*sin(a0 - tip*p/2*1.6))
            line = line sprintf(" %.2f,%.2f", c + ro*cos(a0 + tip*p/2*1.6), c + ro*sin(a0 + tip*p/2*1.6))
            line = line sprintf(" %.2f,%.2f", c + ri*cos(a0 + base*p), c + ri*sin(a0 + base*p))
            # root arc between teeth
            for (j = 1; j < 4; j++) {
                a = a0 + base*p + (p - 2*base*p)*j/4
                line = line sprintf(" %.2f,%.2f", c + ri*cos(a), c + ri*sin(a))
            }
        }
        print line
    }'
}

render_gear() {
    local colour="$1" file="$2" size=40
    local S=$((size * SS))
    local hole
    hole=$(awk -v S="$S" 'BEGIN { c = S/2; printf "circle %.2f,%.2f %.2f,%.2f", c, c, c + S*0.15, c }')
    "${im[@]}" -size "${S}x${S}" xc:none -fill "$colour" -stroke none \
        -draw "$(gear_polygon "$S")" \
        \( -size "${S}x${S}" xc:none -fill black -draw "$hole" \) -compose DstOut -composite \
        -filter Triangle -resize "${size}x${size}!" "${png_opts[@]}" "$file"
}
render_gear "$GREY" "$out/settings.png"
render_gear "$ACCENT" "$out/settings_hover.png"

# ---------------------------------------------------------------------------------------
# refresh.png / refresh_hover.png: clockwise circular arrow, 32 x 32.
# ---------------------------------------------------------------------------------------
render_refresh() {
    local colour="$1" file="$2" size=32
    local S=$((size * SS))
    local shape
    # A band that runs clockwise from about 2 o'clock round to 12 o'clock, where the arrow
    # head continues it. The band is a filled outline rather than a stroked path so the
    # open end stays open; a circle gives the tail a round cap.
    shape=$(awk -v S="$S" 'BEGIN {
        pi = atan2(0, -1); c = S/2; r = S*0.335; h = S*0.055  # radius, half band width
        a0 = -25; a1 = 245; W = S*0.155; d = 40               # head half width / length (deg)
        n = 72; poly = "polygon"
        for (i = 0; i <= n; i++) { a = (a0 + (a1 - a0)*i/n)*pi/180; poly = poly sprintf(" %.2f,%.2f", c + (r + h)*cos(a), c + (r + h)*sin(a)) }
        for (i = n; i >= 0; i--) { a = (a0 + (a1 - a0)*i/n)*pi/180; poly = poly sprintf(" %.2f,%.2f", c + (r - h)*cos(a), c + (r - h)*sin(a)) }
        print poly
        a = a0*pi/180; x = c + r*cos(a); y = c + r*sin(a)
        printf "circle %.2f,%.2f %.2f,%.2f\n", x, y, x + h, y
        a = (a1 - 1)*pi/180; t = (a1 + d)*pi/180
        printf "polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", c + (r + W)*cos(a), c + (r + W)*sin(a), c + r*cos(t), c + r*sin(t), c + (r - W)*cos(a), c + (r - W)*sin(a)
    }')
    local args=()
    while IFS= read -r line; do args+=(-draw "$line"); done <<<"$shape"
    "${im[@]}" -size "${S}x${S}" xc:none -stroke none -fill "$colour" "${args[@]}" \
        -filter Triangle -resize "${size}x${size}!" "${png_opts[@]}" "$file"
}
render_refresh "$GREY" "$out/refresh.png"
render_refresh "$ACCENT" "$out/refresh_hover.png"

# ---------------------------------------------------------------------------------------
# throbber.gif: 12 dots on a ring, a blue highlight with a fading tail goes round once
# per 12 frames of 80 ms; loops forever. GIF has no partial transparency, so the dots'
# soft edges are blended onto white (the Stone ID field's background) and only the
# empty surroundings stay transparent.
# ---------------------------------------------------------------------------------------
THROB=24
rgb_of() { printf '%d %d %d' "0x${1:1:2}" "0x${1:3:2}" "0x${1:5:2}"; }
NDOTS=12
S=$((THROB * SS))
for ((f = 0; f < NDOTS; f++)); do
    draws=()
    while IFS= read -r line; do draws+=(-draw "$line"); done < <(
        awk -v S="$S" -v n="$NDOTS" -v f="$f" -v acc="$(rgb_of "$ACCENT")" -v trk="$(rgb_of "$TRACK")" 'BEGIN {
            pi = atan2(0, -1); c = S/2; r = S*0.37
            split(acc, A, " "); split(trk, T, " ")
            for (i = 0; i < n; i++) {
                age = (f - i + n) % n                     # 0 = head, 1.. = tail
                t = (age < 6) ? 1 - age/6 : 0             # highlight strength
                R = int(T[1] + (A[1] - T[1])*t + 0.5)
                G = int(T[2] + (A[2] - T[2])*t + 0.5)
                B = int(T[3] + (A[3] - T[3])*t + 0.5)
                rad = S*(0.075 + 0.018*t)
                a = (2*pi*i/n) - pi/2
                x = c + r*cos(a); y = c + r*sin(a)
                printf "fill rgb(%d,%d,%d) circle %.2f,%.2f %.2f,%.2f\n", R, G, B, x, y, x + rad, y
            }
        }')
    "${im[@]}" -size "${S}x${S}" xc:none -stroke none "${draws[@]}" \
        -filter Triangle -resize "${THROB}x${THROB}!" "$work/dots.png"
    "${im[@]}" "$work/dots.png" \
        \( +clone -alpha extract -threshold 35% \) \
        \( -clone 0 -background white -alpha remove -alpha off \) \
        -delete 0 +swap -alpha off -compose CopyOpacity -composite \
        "$work/frame-$(printf '%02d' "$f").png"
done
"${im[@]}" -delay 8 -dispose Background -loop 0 "$work"/frame-*.png \
    -strip +dither "$out/throbber.gif"

echo "Wrote logo.png, settings.png, settings_hover.png, refresh.png, refresh_hover.png, throbber.gif, fenmoor.png in $out"
