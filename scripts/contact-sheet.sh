#!/usr/bin/env bash
# Draws every pattern of a data or bank file with --render and lays the frames
# out as one labelled contact sheet (ImageMagick montage).
#   scripts/contact-sheet.sh PROGRAM DATA OUT.png [COLUMNS] [TILE] [FRAMES] [SEED]
# for example: scripts/contact-sheet.sh build/app/lumivane \
#   build/share/lumivane/Lumivane.dat docs/collection.png
set -euo pipefail
program=$1 data=$2 out=$3
columns=${4:-5} tile=${5:-256x192} frames=${6:-150} seed=${7:-1}
tiles=$(mktemp -d)
trap 'rm -rf "$tiles"' EXIT

labels=()
count=0
while IFS=$'\t' read -r index name; do
    file=$(printf '%s/%03d.png' "$tiles" "$index")
    "$program" --render "$file" --data "$data" --index "$index" --size "$tile" \
        --frames "$frames" --seed "$seed"
    labels+=(-label "${name% }" "$file")
    count=$((count + 1))
done < <("$program" --list "$data")

montage -font DejaVu-Sans -pointsize 12 "${labels[@]}" -tile "${columns}x" -geometry +4+4 \
    -background "#1E1E1E" -fill "#E8E8E8" "$tiles/sheet.png"
# The patterns are drawn in flat colours: 128 of them keep the sheet small and look the same.
convert "$tiles/sheet.png" -depth 8 +dither -colors 128 -define png:compression-level=9 "$out"
echo "$count patterns drawn into $out"
