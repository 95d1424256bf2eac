#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes res/sample.avi: four seconds of a 320x240, 25 fps test pattern in
# MPEG-4 Visual tagged XVID, a 440 Hz stereo tone in MP3, and a RIFF INFO
# list (INAM, IART, ICMT, and ISFT naming ffmpeg's muxer), followed by JUNK.
# The encoders' bit-exact flags and one thread make the same bytes on every
# run with the same ffmpeg.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i testsrc2=size=320x240:rate=25 \
    -f lavfi -i sine=frequency=440:sample_rate=44100 \
    -t 4 -threads 1 \
    -c:v mpeg4 -vtag XVID -b:v 200k \
    -c:a libmp3lame -b:a 64k -ac 2 \
    -metadata title="Quibo sample" \
    -metadata artist="Quibo developers" \
    -metadata comment="Test pattern with a 440 Hz tone, made by res/make-sample.sh" \
    -flags:v +bitexact -flags:a +bitexact \
    sample.avi
