#!/usr/bin/env bash
# How much of the picture the camcorder presets keep through their downscaled
# intermediate: for each H.264 device preset, the final output of the whole conversion
# against the camcorder source (ffmpeg's SSIM, the source scaled to the output's size),
# with the intermediate made as it was before ("-b 240k") and as it is made now, beside
# a direct single pass of the same final step on the source.
# Goal: the conversion within 0.01 SSIM of the direct pass.
#   BUILD=build PRESETS="18 27 28" SECONDS_LONG=10 bash bench/helpers/intermediate_quality.sh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
CLI=$BUILD/bin/transcoda-cli
B=$BUILD/bin/B
PRESETS=${PRESETS:-18 19 24 25 26 27 28 29 31}
LENGTH=${SECONDS_LONG:-10}
[ -x "$CLI" ] || { echo "build transcoda-cli first ($CLI)"; exit 1; }

W=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-ssim.XXXXXX")
trap 'rm -rf "$W"' EXIT
SRC=$W/camcorder.mts
# A camcorder recording: 1920x1080 at 29.97 frames a second with a fine grain, H.264 at
# a camcorder's rate, AC-3 sound, in an MPEG transport stream.
ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i "testsrc2=size=1920x1080:rate=30000/1001:duration=$LENGTH,noise=alls=6:allf=t" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$LENGTH" \
  -c:v libx264 -preset veryfast -b:v 16M -pix_fmt yuv420p -c:a ac3 -b:a 256k -f mpegts "$SRC"

# SSIM of a file's picture against the source scaled to its size, frame by frame in
# the order of the frames, the best of the alignments within two frames: a stage of the
# chain may start the picture's clock a frame late or repeat its first frame (an AVI
# with sound does), which shifts the picture in time but says nothing of its quality.
ssim_at() {  # file size offset: the file's frames from `offset` against the source's from 0
  local out=0 ref=0
  if [ "$3" -ge 0 ]; then out=$3; else ref=$((-$3)); fi
  ffmpeg -hide_banner -nostdin -i "$1" -i "$SRC" -lavfi \
    "[0:v]trim=start_frame=$out,setpts=N/(30000/1001*TB)[o];[1:v]trim=start_frame=$ref,scale=${2/x/:}:flags=bicubic,setpts=N/(30000/1001*TB)[r];[o][r]ssim=shortest=1" \
    -f null - 2>&1 | sed -n 's/.*SSIM.* All:\([0-9.]*\).*/\1/p' | tail -1
}
ssim() {
  local size best=0 v
  size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=s=x:p=0 "$1")
  for offset in -2 -1 0 1 2; do
    v=$(ssim_at "$1" "$size" "$offset")
    best=$(python3 -c "print(max($best, ${v:-0}))")
  done
  echo "$best"
}

printf '%-7s %-13s %9s %9s %9s %12s %12s\n' preset intermediate before after direct "after-direct" "before-direct"
for p in $PRESETS; do
  out=$W/p$p.mp4
  # The whole conversion as it is now; its debug log gives the final step's command line.
  "$CLI" --lang EN --debug -y -f "$p" "$SRC" "$out" >/dev/null 2>"$W/log"
  final=$(grep -o 'Ligne console a éxécuter depuis extractvideofromavhcd : \[\[.*\]\]' "$W/log" | tail -1 |
          sed 's/.*\[\[\(.*\)\]\]/\1/')
  inter=$(printf '%s' "$final" | sed 's/^[^"]*-i "\([^"]*\)".*/\1/')
  size=$(grep -o 'Execution de la ligne de commande : \[\[.*\]\]' "$W/log" | sed 's/.* -s \([0-9x]*\) .*/\1/')
  # Before: the intermediate at 240 kbit/s, then the same final step.
  "$B/utilitymff3.exe" -i "$SRC" -b 240k -s "$size" -ar 44100 -ac 2 -ab 128k -y "$W/before.avi" >/dev/null 2>&1
  written=$(printf '%s' "$final" | sed 's/.*"\([^"]*\)"$/\1/')
  before_out=$W/before.mp4
  before_cmd=${final//"$inter"/$W/before.avi}
  before_cmd=${before_cmd//"$written"/$before_out}
  rm -f "$before_out"
  eval "$before_cmd" >/dev/null 2>&1
  # Direct: the same final step on the source itself.
  direct_cmd=${final//"$inter"/$SRC}
  direct_out=$W/direct.mp4
  direct_cmd=${direct_cmd//"$written"/$direct_out}
  rm -f "$direct_out"
  eval "$direct_cmd" >/dev/null 2>&1
  b=$(ssim "$before_out"); a=$(ssim "$out"); d=$(ssim "$direct_out")
  printf '%-7s %-13s %9s %9s %9s %12s %12s\n' "$p" "$size" "$b" "$a" "$d" \
    "$(python3 -c "print(f'{$a-$d:+.4f}')")" "$(python3 -c "print(f'{$b-$d:+.4f}')")"
done
echo "SSIM 1.0 is the source itself; goal: after-direct within 0.01 (source ${LENGTH} s 1920x1080 29.97 fps)"
