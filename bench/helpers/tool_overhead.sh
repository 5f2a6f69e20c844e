#!/usr/bin/env bash
# What the helper tools cost on top of the engine they run. Every tool run a recipe may
# make (each step code, the sound extractions, the downscaled copy and the two joins),
# exactly as the recipes write it and run as the program runs it (process runner, pipe
# reader, progress parser), against the engine command its tool carries out, on a 60 s
# 1280x720 clip; then the HD AVI preset end to end against the one ffmpeg command that
# writes the same file. Paired and alternating (A B A B), wall and CPU time, medians with
# min and max. Goals: each step <= 1.02 x its engine, HD AVI <= 1.15 x ffmpeg.
#   BUILD=build ROUNDS=3 STEPS="720p mpeg480p128" bash bench/helpers/tool_overhead.sh
# STEPS picks some of the runs by name (all when empty). The runs whose sound the tool
# encodes itself (AMR-NB) have no engine command of their own and are left out.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
BIN=$BUILD/bin
ROUNDS=${ROUNDS:-3}
STEPS=${STEPS:-}
LENGTH=${SECONDS_LONG:-60}
for p in transcoda-cli step_command_lines run_as_program B/utilitymff3.exe; do
  [ -x "$BIN/$p" ] || { echo "build $p first ($BIN/$p)"; exit 1; }
done

W=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-steps.XXXXXX")
trap 'rm -rf "$W"' EXIT
mkdir -p "$W/work" "$W/out"
IN=$W/clip720p.mp4
echo "Making a ${LENGTH} s 1280x720 clip..."
ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=$LENGTH" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$LENGTH" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$IN"

"$BIN/step_command_lines" "$BIN/" "$W/work/" "$IN" "$W/out/" >"$W/lines.tsv"

# The intermediates the joins read, made once first so that their tools can plan.
while IFS=$'\t' read -r name line written; do
  case $name in "ExtractAudioTrack 720p" | "ExtractAudioTrack wma" | 720p)
    (cd "$W" && eval "TRANSCODA_PROBE_CACHE=$W/work/probes/ $line") >/dev/null 2>&1 ;;
  esac
done <"$W/lines.tsv"

# One job a line for paired.py: A the tool run as the program runs it, B its engine
# command (which the tool shows when TRANSCODA_SHOW_ENGINE is set). The DVD steps write
# into a folder the recipe prepares; each run starts without the file it writes.
: >"$W/jobs.tsv"
while IFS=$'\t' read -r name line written; do
  if [ -n "$STEPS" ] && ! [[ " $STEPS " == *" $name "* ]]; then continue; fi
  case $name in DVD-*) mkdir -p "$(dirname "$written")" ;; esac
  rm -f "$written"
  # shellcheck disable=SC2086
  engine=$(cd "$W" && eval "TRANSCODA_SHOW_ENGINE=1 TRANSCODA_PROBE_CACHE=$W/work/probes/ $line" 2>/dev/null |
           sed -n 's/^engine: //p' || true)
  if [ -z "$engine" ]; then
    echo "$name: no engine command of its own (left out)"
    continue
  fi
  python3 - "$name" "$BIN/run_as_program" "$W/work/" "$line" "$engine" "$written" >>"$W/jobs.tsv" <<'PY'
import shlex, sys
name, runner, work, line, engine, written = sys.argv[1:]
print("\t".join([name, shlex.join([runner, work, line]), engine, written]))
PY
done <"$W/lines.tsv"

echo
echo "Each tool run (A, as the program runs it) against its engine command (B), ${LENGTH} s 1280x720:"
(cd "$W" && python3 "$ROOT/bench/helpers/paired.py" "$W/jobs.tsv" "$ROUNDS" 1.02)

if [ -z "$STEPS" ] || [[ " $STEPS " == *" HD-AVI "* ]]; then
  echo
  echo "HD AVI (preset 0) end to end (A: transcoda-cli) against ffmpeg's single pass (B):"
  printf 'HD AVI\t%s\t%s\t%s\n' "$BIN/transcoda-cli -y -f 0 $IN $W/cli.avi" \
    "ffmpeg -nostdin -hide_banner -y -i $IN -c:v mpeg4 -b:v 4500k -tag:v XVID -s 1280x720 -r 25 -c:a libmp3lame -ar 44100 -ac 2 -b:a 192k $W/ff.avi" \
    "$W/cli.avi $W/ff.avi" >"$W/hdavi.tsv"
  python3 "$ROOT/bench/helpers/paired.py" "$W/hdavi.tsv" "$ROUNDS" 1.15
fi
