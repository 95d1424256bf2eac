#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the fuzzers' seed corpora in DIR: small AVI files written by ffmpeg
# and mencoder with the common codecs and an INFO list, the bundled sample's
# start, the codec database, and for the edit fuzzer each AVI file followed
# by a fixed edit script.
set -euo pipefail
out="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mkdir -p "$out/analysis" "$out/codec_database" "$out/info_edit"
avi="$out/analysis"

for pair in mpeg4:libmp3lame mjpeg:pcm_s16le ffv1:adpcm_ima_wav huffyuv:mp2 rawvideo:ac3; do
    video="${pair%%:*}" audio="${pair##*:}"
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=32x24:rate=5:duration=0.2 \
        -f lavfi -i sine=duration=0.2 -c:v "$video" -pix_fmt bgr24 -c:a "$audio" \
        -metadata title=Seed -metadata artist=Quibo -metadata comment="$pair" "$avi/$video.avi"
done
# The bitstreams whose headers the analysis reads: Xvid with B-frames,
# quarter-pel and GMC (packed), and x264 with a sample aspect ratio.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=32x24:rate=5:duration=0.6 -c:v libxvid -flags +qpel -gmc 1 \
    -bf 2 -vtag xvid "$avi/xvid.avi" 2>/dev/null || true
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=32x24:rate=5:duration=0.6 -c:v libx264 -pix_fmt yuv420p \
    -vf setsar=4/3 "$avi/x264.avi" 2>/dev/null || true
# A file without an INFO list, and one with the MPEG-4 video under another tag.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=32x24:rate=5:duration=0.2 -c:v mpeg4 -vtag DX50 \
    -map_metadata -1 -fflags +bitexact "$avi/dx50-no-info.avi"
if command -v mencoder >/dev/null; then
    mencoder -really-quiet "$avi/mpeg4.avi" -ovc lavc -lavcopts vcodec=mpeg4 -oac mp3lame \
        -o "$avi/mencoder.avi" >/dev/null 2>&1 || true
fi
head -c 16384 "$root/res/sample.avi" >"$avi/sample-start.avi"
# A list whose first child is a list with its header at 99,992, its form
# type just past the image: an INFO edit once read 4 bytes beyond it.
python3 - "$avi/image-end.avi" <<'PY'
import struct, sys
chunk = lambda id, data: id + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)
info = chunk(b"LIST", b"INFO" + chunk(b"INAM", b"Title\0"))
head = chunk(b"LIST", b"hdrl" + chunk(b"avih", bytes(56))) + info + chunk(b"JUNK", bytes(99858))
tail = chunk(b"LIST", b"abcd" + chunk(b"LIST", b"efgh" + chunk(b"data", b"d" * 64))) + chunk(b"LIST", b"movi")
open(sys.argv[1], "wb").write(chunk(b"RIFF", b"AVI " + head + tail))
PY

cp "$root/res/Quibo.dat" "$out/codec_database/"
printf 'XVID\tXvid MPEG-4 Video\tXvid project\r\n# comment\r\nDIV3\tDivX ;-) MPEG-4\tDivX\r\n' \
    >"$out/codec_database/small.dat"

# The script: 64 fixed pseudo-random bytes, then their count over 8.
script="$(LC_ALL=C awk 'BEGIN { srand(7); for (i = 0; i < 64; i++) printf "%c", int(rand() * 256) }'; printf '\x08')"
for file in "$avi"/*.avi; do
    { cat "$file"; printf '%s' "$script"; } >"$out/info_edit/$(basename "$file")"
done
