#!/usr/bin/env bash
# Times quibo-info against mediainfo on the same large AVI (400 MB of 720p
# MPEG-4 Visual with MP3 audio, made with ffmpeg once and kept in WORK_DIR),
# warm cache, and prints each median and the ratio mediainfo / quibo-info.
# usage: bench/peers.sh [WORK_DIR]   (default /tmp/quibo-bench)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

work="${1:-/tmp/quibo-bench}"
file="$work/large.avi"
results="$work/peers.csv"

{
    install_packages "${QUIBO_PACKAGES[@]}" hyperfine
    configure_and_build --target quibo-info
} >&2

mkdir -p "$work"
if [[ ! -s "$file" ]]; then
    echo "Making $file ..." >&2
    # -fs stops the output at 400 MB and closes it properly (index included).
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i testsrc2=size=1280x720:rate=25 \
        -f lavfi -i sine=frequency=440:sample_rate=44100 \
        -t 1800 -fs 400M \
        -c:v mpeg4 -vtag XVID -q:v 2 \
        -c:a libmp3lame -b:a 128k -ac 2 \
        -metadata title="Quibo benchmark" \
        "$work/partial.avi"
    mv "$work/partial.avi" "$file"
fi

quibo_info="$(printf '%q %q' "$QUIBO_BUILD/quibo-info" "$file")"
mediainfo="$(printf 'mediainfo %q' "$file")"
# Warm-up runs fill the page cache; the commands run without a shell.
hyperfine -N --warmup 3 --runs 30 --export-csv "$results" "$quibo_info" "$mediainfo"

# The CSV has a header, then a row per command in the order given, with the
# columns command,mean,stddev,median,user,system,min,max (seconds). Median is
# counted from the end, as a command may hold commas.
median() { awk -F, -v row="$1" 'NR == row + 1 { print $(NF - 4) }' "$results"; }
quibo_median="$(median 1)"
mediainfo_median="$(median 2)"
echo
echo "File: $file ($(stat -c %s "$file") bytes)"
awk -v q="$quibo_median" -v m="$mediainfo_median" 'BEGIN {
    printf "quibo-info median: %.2f ms\n", q * 1000
    printf "mediainfo median:  %.2f ms\n", m * 1000
    printf "ratio mediainfo / quibo-info: %.1f\n", m / q
}'
