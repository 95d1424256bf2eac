#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times quibo-info against the tools people use today, side by side in one
# run, on files it makes with ffmpeg once and keeps in WORK_DIR: a large AVI
# (400 MB of 720p MPEG-4 Visual with MP3 audio), a small one (2 s, 320x240)
# and 1,000 copies of the small one. Warm cache, median of several runs:
#   1. one file:        quibo-info vs mediainfo, ffprobe and exiftool
#   2. 1,000 files:     one call of quibo-info vs mediainfo and exiftool
#   3. title in place:  quibo-info --set INAM=... vs an ffmpeg remux, with
#                       the bytes each writes
#   4. the peak memory of each command
#   5. 1,000 files, cold cache (as root): quibo-info vs mediainfo, alternating,
#      the page cache dropped before each run, median of three; and the time
#      to read the bytes quibo-info reads with 8 parallel readers (head -c)
# and prints each pair's ratio (peer / quibo-info: above 1, quibo-info wins).
# usage: bench/peers.sh [WORK_DIR]   (default /tmp/quibo-bench)
# QUIBO_BENCH_BUILD names the build directory (default: the repository's build/).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
QUIBO_BUILD="${QUIBO_BENCH_BUILD:-$QUIBO_BUILD}"

work="${1:-/tmp/quibo-bench}"
large="$work/large.avi"
small="$work/small.avi"
many="$work/many"
retag="$work/retag.avi"
remux="$work/remux.avi"
many_count=1000

{
    install_packages "${QUIBO_PACKAGES[@]}" hyperfine libimage-exiftool-perl time
    # The codec database goes beside the program, where quibo-info looks.
    configure_and_build --target quibo-info codec_database
} >&2
quibo_info="$QUIBO_BUILD/quibo-info"

mkdir -p "$work"
if [[ ! -s "$large" ]]; then
    echo "Making $large ..." >&2
    # -fs stops the output at 400 MB and closes it properly (index included).
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i testsrc2=size=1280x720:rate=25 \
        -f lavfi -i sine=frequency=440:sample_rate=44100 \
        -t 1800 -fs 400M \
        -c:v mpeg4 -vtag XVID -q:v 2 \
        -c:a libmp3lame -b:a 128k -ac 2 \
        -metadata title="Quibo benchmark" \
        "$work/partial.avi"
    mv "$work/partial.avi" "$large"
fi
if [[ ! -s "$small" ]]; then
    echo "Making $small ..." >&2
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i testsrc2=size=320x240:rate=25 \
        -f lavfi -i sine=frequency=440:sample_rate=44100 \
        -t 2 -c:v mpeg4 -vtag XVID -q:v 5 \
        -c:a libmp3lame -b:a 64k -ac 2 \
        -metadata title="Quibo small benchmark" \
        "$work/partial.avi"
    mv "$work/partial.avi" "$small"
    rm -rf "$many"
fi
if [[ ! -d "$many" ]]; then
    mkdir -p "$many.partial"
    for ((i = 0; i < many_count; i++)); do cp "$small" "$(printf '%s/%04d.avi' "$many.partial" "$i")"; done
    mv "$many.partial" "$many"
fi
many_files=("$many"/*.avi)
# quibo-info must do its whole work: a complaint (such as a codec database
# not found) would make it look faster than it is.
complaint="$("$quibo_info" "$small" 2>&1 >/dev/null)" || complaint="${complaint:-exit status $?}"
if [[ -n "$complaint" ]]; then
    echo "quibo-info complains: $complaint" >&2
    exit 1
fi
# The retag edits a copy, so the large file stays as made.
if [[ ! -s "$retag" ]] || (($(stat -c %s "$retag") != $(stat -c %s "$large"))); then
    cp "$large" "$retag"
fi

# Command lines for hyperfine -N (no shell): each word quoted.
line() { printf '%q ' "$@"; }

# hyperfine GROUP WARMUP RUNS NAME COMMAND [NAME COMMAND]... writes
# $work/GROUP.csv, a row per command in the order given, with the columns
# command,mean,stddev,median,user,system,min,max (seconds).
time_group() {
    local group="$1" warmup="$2" runs="$3"
    shift 3
    local -a arguments=()
    while (($# > 0)); do
        arguments+=(--command-name "$1" "$2")
        shift 2
    done
    echo "== $group" >&2
    hyperfine -N --style basic --warmup "$warmup" --runs "$runs" --export-csv "$work/$group.csv" "${arguments[@]}" >&2
}
median_of() { awk -F, -v name="$2" 'NR > 1 && $1 == name { print $4 }' "$work/$1.csv"; }

# Bytes a command writes: the growth of this subshell's I/O counters, which
# take in its reaped children. wchar counts every byte handed to write()
# (standard output goes to /dev/null and counts too); write_bytes counts the
# bytes sent to storage, a page at a time.
written_by() {
    (
        read_counters() {
            local key value
            while read -r key value; do
                case "$key" in
                    wchar:) wchar=$value ;;
                    write_bytes:) write_bytes=$value ;;
                esac
            done <"/proc/$BASHPID/io"
        }
        local wchar=0 write_bytes=0
        read_counters
        local wchar_before=$wchar write_bytes_before=$write_bytes
        "$@" >/dev/null 2>&1
        read_counters
        echo "$((wchar - wchar_before)) $((write_bytes - write_bytes_before))"
    )
}

# Peak resident memory of a command, in KB.
peak_kb_of() {
    local out="$work/peak.txt"
    /usr/bin/time -f %M -o "$out" "$@" >/dev/null 2>&1
    cat "$out"
}

title="Quibo retag $(date +%s)"
q_one=$(line "$quibo_info" "$small")
m_one=$(line mediainfo "$small")
f_one=$(line ffprobe -v error -show_format -show_streams "$small")
e_one=$(line exiftool "$small")
q_large=$(line "$quibo_info" "$large")
m_large=$(line mediainfo "$large")
f_large=$(line ffprobe -v error -show_format -show_streams "$large")
e_large=$(line exiftool "$large")
q_many=$(line "$quibo_info" "${many_files[@]}")
m_many=$(line mediainfo "${many_files[@]}")
e_many=$(line exiftool "${many_files[@]}")
q_set=$(line "$quibo_info" --set "INAM=$title" "$retag")
f_set=$(line ffmpeg -v error -y -i "$large" -c copy -map 0 -metadata "title=$title" "$remux")

time_group small 5 30 quibo-info "$q_one" mediainfo "$m_one" ffprobe "$f_one" exiftool "$e_one"
time_group large 5 30 quibo-info "$q_large" mediainfo "$m_large" ffprobe "$f_large" exiftool "$e_large"
time_group many 1 5 quibo-info "$q_many" mediainfo "$m_many" exiftool "$e_many"
time_group retag 1 5 quibo-info "$q_set" ffmpeg "$f_set"

read -r q_wchar q_storage < <(written_by "$quibo_info" --set "INAM=$title" "$retag")
read -r f_wchar f_storage < <(written_by ffmpeg -v error -y -i "$large" -c copy -map 0 -metadata "title=$title" "$remux")
rm -f "$remux"

echo
echo "Small file: $small ($(stat -c %s "$small") bytes); large file: $large ($(stat -c %s "$large") bytes);"
echo "$many_count copies of the small file in $many. Median of each command; ratio = peer / quibo-info."
report_group() {
    local group="$1" what="$2" quibo_median peer peer_median
    shift 2
    quibo_median="$(median_of "$group" quibo-info)"
    echo
    echo "$what"
    awk -v q="$quibo_median" 'BEGIN { printf "  %-10s %10.2f ms\n", "quibo-info", q * 1000 }'
    for peer in "$@"; do
        peer_median="$(median_of "$group" "$peer")"
        awk -v name="$peer" -v q="$quibo_median" -v p="$peer_median" \
            'BEGIN { printf "  %-10s %10.2f ms   ratio %8.1f\n", name, p * 1000, p / q }'
    done
}
report_group small "1. One small file:" mediainfo ffprobe exiftool
report_group large "1. One large file:" mediainfo ffprobe exiftool
report_group many "2. $many_count files in one call:" mediainfo exiftool
awk -v q="$(median_of many quibo-info)" -v n="$many_count" \
    'BEGIN { printf "  quibo-info: %.0f files/s\n", n / q }'
report_group retag "3. Title set on the large file (quibo-info in place, ffmpeg remux):" ffmpeg
echo "  bytes written (write() / to storage): quibo-info $q_wchar / $q_storage, ffmpeg $f_wchar / $f_storage"

echo
echo "4. Peak resident memory (KB):"
printf '  %-34s %s\n' \
    "quibo-info small" "$(peak_kb_of "$quibo_info" "$small")" \
    "mediainfo small" "$(peak_kb_of mediainfo "$small")" \
    "ffprobe small" "$(peak_kb_of ffprobe -v error -show_format -show_streams "$small")" \
    "exiftool small" "$(peak_kb_of exiftool "$small")" \
    "quibo-info large" "$(peak_kb_of "$quibo_info" "$large")" \
    "mediainfo large" "$(peak_kb_of mediainfo "$large")" \
    "ffprobe large" "$(peak_kb_of ffprobe -v error -show_format -show_streams "$large")" \
    "exiftool large" "$(peak_kb_of exiftool "$large")" \
    "quibo-info $many_count files" "$(peak_kb_of "$quibo_info" "${many_files[@]}")" \
    "mediainfo $many_count files" "$(peak_kb_of mediainfo "${many_files[@]}")" \
    "exiftool $many_count files" "$(peak_kb_of exiftool "${many_files[@]}")" \
    "quibo-info --set large" "$(peak_kb_of "$quibo_info" --set "INAM=$title" "$retag")" \
    "ffmpeg remux large" "$(peak_kb_of ffmpeg -v error -y -i "$large" -c copy -map 0 -metadata "title=$title" "$remux")"
rm -f "$remux"

# NAME COMMAND... runs COMMAND on a cold cache and prints its seconds.
cold_seconds() {
    sync && echo 3 >/proc/sys/vm/drop_caches
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", e - s }'
}
median3() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
if [[ -w /proc/sys/vm/drop_caches ]]; then
    q_cold=() m_cold=() disk_cold=()
    for round in 1 2 3; do
        q_cold+=("$(cold_seconds "$quibo_info" "${many_files[@]}")")
        m_cold+=("$(cold_seconds mediainfo "${many_files[@]}")")
        disk_cold+=("$(cold_seconds sh -c 'printf "%s\0" "$@" | xargs -0 -P 8 -n 64 head -q -c 100000' _ "${many_files[@]}")")
    done
    q_median="$(median3 "${q_cold[@]}")" m_median="$(median3 "${m_cold[@]}")"
    echo
    echo "5. $many_count files, cold cache (median of three, alternating):"
    awk -v q="$q_median" -v m="$m_median" -v d="$(median3 "${disk_cold[@]}")" 'BEGIN {
        printf "  quibo-info %8.3f s\n  mediainfo  %8.3f s   ratio %6.1f\n", q, m, m / q
        printf "  reading the first 100,000 bytes of each with 8 readers: %.3f s\n", d }'
else
    echo
    echo "5. cold cache: skipped (dropping the page cache needs root)"
fi
