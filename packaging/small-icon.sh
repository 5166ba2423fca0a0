#!/bin/sh
# Draws the gem of packaging/icons at a small size (16, 24 or 32 px) for the Windows icon, where
# a downscaled 256 px image would blur its edges: the same facets and colours, the outline one
# pixel wide on whole pixels, the top and the girdle on pixel rows, the light facet lines only from
# 24 px on. Drawn 16 times larger with ImageMagick and reduced by averaging.
#
#   sh packaging/small-icon.sh SIZE OUTPUT.png
set -eu

size=$1 out=$2
scale=16
mvg="$(awk -v s="$size" -v k="$scale" '
    function facet(colour, x1, y1, x2, y2, x3, y3) {
        printf "fill \"%s\" stroke \"%s\" stroke-width 1 polygon %g,%g %g,%g %g,%g\n",
            colour, colour, x1 * k, y1 * k, x2 * k, y2 * k, x3 * k, y3 * k
    }
    function edge(x1, y1, x2, y2) {
        printf "fill none stroke \"#bfeaf4\" stroke-width %g line %g,%g %g,%g\n",
            k, x1 * k, y1 * k, x2 * k, y2 * k
    }
    function at(v) { return int(s * v / 256 + 0.5) }
    BEGIN {
        # Corners of the 256 px drawing, rounded to whole pixels of this size: the table (top),
        # the girdle (widest row), the culet (bottom point) and where the facets meet the girdle.
        top = at(26); girdle = at(92); culet = s - at(21)
        left = 0; right = s; middle = s / 2
        tableLeft = at(71); tableRight = s - tableLeft
        facetLeft = at(66); facetRight = s - facetLeft
        facet("#7ed8ea", tableLeft, top, left, girdle, facetLeft, girdle)
        facet("#3db7d8", tableLeft, top, facetLeft, girdle, middle, girdle)
        facet("#b4ecf5", tableLeft, top, tableRight, top, middle, girdle)
        facet("#2698c8", tableRight, top, middle, girdle, facetRight, girdle)
        facet("#1b74b0", tableRight, top, facetRight, girdle, right, girdle)
        facet("#2ea5d0", left, girdle, facetLeft, girdle, middle, culet)
        facet("#1e86c2", facetLeft, girdle, middle, girdle, middle, culet)
        facet("#1768aa", middle, girdle, facetRight, girdle, middle, culet)
        facet("#114b86", facetRight, girdle, right, girdle, middle, culet)
        if (s >= 24) {
            edge(left, girdle + 0.5, right, girdle + 0.5)
            edge(facetLeft, girdle, middle, culet)
            edge(middle, girdle, middle, culet)
            edge(facetRight, girdle, middle, culet)
        }
        printf "fill none stroke \"#0f3f70\" stroke-width %d stroke-linejoin miter", k
        printf " polygon %g,%g %g,%g %g,%g %g,%g %g,%g\n",
            (tableLeft + 0.5) * k, (top + 0.5) * k, (tableRight - 0.5) * k, (top + 0.5) * k,
            (right - 0.5) * k, girdle * k, middle * k, (culet - 0.5) * k, (left + 0.5) * k, girdle * k
    }')"
convert -size "$((size * scale))x$((size * scale))" xc:none -draw "$mvg" \
    -filter box -resize "${size}x$size" "PNG32:$out"
