#!/usr/bin/env bash
# What a whole conversion of a short clip costs on top of its engine: transcoda-cli
# (probes, tool starts, the check of the result) against the one ffmpeg command that
# writes an equivalent file, on a 3 s 1280x720 clip, paired and alternating.
# Goal: at most 1.10 x for presets 3 (MPEG 640x480) and 34 (MP3 128 kbit/s).
#   BUILD=build ROUNDS=11 bash bench/helpers/short_clips.sh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
CLI=$BUILD/bin/transcoda-cli
ROUNDS=${ROUNDS:-11}
[ -x "$CLI" ] || { echo "build transcoda-cli first ($CLI)"; exit 1; }

W=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-bench.XXXXXX")
trap 'rm -rf "$W"' EXIT
ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i testsrc2=size=1280x720:rate=25:duration=3 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$W/clip3.mp4"

FF="ffmpeg -nostdin -hide_banner -y -i $W/clip3.mp4"
{
  printf 'preset 3 MPEG\t%s\t%s\t%s\n' "$CLI -y -f 3 $W/clip3.mp4 $W/cli.mpeg" \
    "$FF -b:v 4200k -s 640x480 -ar 44100 -ac 2 -b:a 128k $W/ff.mpeg" "$W/cli.mpeg $W/ff.mpeg"
  printf 'preset 34 MP3\t%s\t%s\t%s\n' "$CLI -y -f 34 $W/clip3.mp4 $W/cli.mp3" \
    "$FF -vn -ar 44100 -ac 2 -b:a 128k -f mp3 $W/ff.mp3" "$W/cli.mp3 $W/ff.mp3"
} >"$W/jobs.tsv"

echo "3 s 1280x720 clip: A = transcoda-cli, B = ffmpeg alone"
python3 "$ROOT/bench/helpers/paired.py" "$W/jobs.tsv" "$ROUNDS" 1.10
