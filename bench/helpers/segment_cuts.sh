#!/usr/bin/env bash
# Extraction (preset 39) of segments from clips with sparse (10 s) and dense (1 s) key
# frames, in every picture codec the test clips use, and from the recorded clips of the
# corpus when present. For each cut it prints the way the tool took (copy, smart cut,
# re-code), the time the step took, the SSIM of the written picture against the source's
# segment, and the picture check's difference (grey levels, 0-255) of the first and last
# pictures, with its cost. Then the same difference for windows moved 1 s and 5 s away,
# which the check must tell apart: the summary gives the largest difference of a right
# cut and the smallest of a wrong one, and how many fall on the wrong side of a few limits
# (the tools use 3, helpers/src/picture_compare.h).
#   BUILD=build bash bench/helpers/segment_cuts.sh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
TOOL=$BUILD/bin/B/utilitymen2.exe
CAM=$BUILD/bin/B/utilitymff3.exe
CMP=$(find "$BUILD" -name segment_pictures -type f -perm -u+x | head -1)
[ -x "$TOOL" ] && [ -n "$CMP" ] || { echo "build helper_tools and segment_pictures first"; exit 1; }
CORPUS=${CORPUS:-$ROOT/../../shared/corpus/real}
[ -d "$CORPUS" ] || CORPUS=/work/shared/corpus/real

W=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-segments.XXXXXX")
trap 'rm -rf "$W"' EXIT
FF=(ffmpeg -hide_banner -loglevel error -nostdin -y)

# make NAME GOP -- picture/sound options: 20 s of moving picture and a tone.
make() {
  local name=$1 gop=$2 size=$3
  shift 4
  "${FF[@]}" -f lavfi -i "testsrc2=size=$size:rate=25:duration=20" -f lavfi -i "sine=frequency=440:duration=20" \
    -map 0:v -map 1:a -ac 2 -g "$gop" "$@" "$W/$name"
}
for gop in 250 25; do
  kind=$([ $gop = 250 ] && echo sparse || echo dense)
  make "$kind-mpeg4.avi" $gop 320x240 -- -c:v mpeg4 -q:v 5 -c:a libmp3lame
  make "$kind-h264.mkv" $gop 320x240 -- -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac
  make "$kind-h264b.mp4" $gop 320x240 -- -c:v libx264 -preset medium -pix_fmt yuv420p -c:a aac
  make "$kind-mpeg1.mpg" $gop 352x288 -- -c:v mpeg1video -b:v 1000k -c:a mp2
  make "$kind-mpeg2.vob" $gop 352x288 -- -c:v mpeg2video -b:v 2000k -c:a ac3
  make "$kind-wmv2.wmv" $gop 320x240 -- -c:v wmv2 -b:v 800k -c:a wmav2
  make "$kind-flv1.flv" $gop 320x240 -- -c:v flv1 -b:v 500k -c:a libmp3lame
done
make "cam-h264.m2ts" 25 640x360 -- -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a ac3 -f mpegts

# SSIM of the written picture against the source's segment, frame by frame in order (the
# source decoded from its start: the engine's own seek lands off in some containers). The
# ends may be a frame off (the engine rounds a start between two frames to either): the
# best of the source's segment moved by -1, 0 and +1 frame.
ssim() {
  local best=0 shift value
  for shift in -0.04 0 0.04; do
    value=$(ffmpeg -nostdin -hide_banner -i "$1" -i "$4" -lavfi \
      "[0:v]scale=320:240,setpts=N/TB/25[a];[1:v]trim=start=$(awk -v s="$2" -v d=$shift 'BEGIN { print (s + d < 0 ? 0 : s + d) }'):duration=$3,scale=320:240,setpts=N/TB/25[b];[a][b]ssim" \
      -f null - 2>&1 | sed -n 's/.*All:\([0-9.]*\).*/\1/p' | tail -1)
    best=$(awk -v a="$best" -v b="${value:-0}" 'BEGIN { print (b > a ? b : a) }')
  done
  echo "$best"
}

RIGHT=$W/right.txt WRONG=$W/wrong.txt
: >"$RIGHT"; : >"$WRONG"
cut() {  # cut SOURCE START LENGTH [camcorder]
  local src=$1 start=$2 len=$3 out way t0 t1 line
  if [ "${4:-}" = cam ]; then
    out=$W/out.mpeg
    t0=$(date +%s%N)
    line=$("$CAM" -ss "$start" -t "$len" -i "$src" -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y "$out" 2>&1 | tr '\r' '\n')
    way="re-code (camcorder)"
  else
    out=$W/out.${src##*.}
    rm -f "$out"
    t0=$(date +%s%N)
    line=$("$TOOL" "$src" -oac mp3lame -lameopts cbr:br=128 -ovc copy -o "$out" -ss "$start" -endpos "$len" 2>&1 | tr '\r' '\n')
    way=$(grep -o 'starts on a key frame\|are coded again, the rest is copied\|its picture is coded again\|coded again whole' <<<"$line" | head -1 || true)
    case $way in
      "starts on a key frame") way=copy ;;
      "are coded again, the rest is copied") way="smart cut" ;;
      *) way=re-code ;;
    esac
  fi
  t1=$(date +%s%N)
  local verdict cost
  verdict=$(grep -o 'content=[a-z]*' <<<"$line" | tail -1 || true)
  cost=$(sed -n 's/.*grey levels apart.*, \([0-9]*\) ms/\1/p' <<<"$line" | tail -1)
  if [ -z "$verdict" ]; then
    printf '%-22s %5s %3s  FAILED: %s\n' "$(basename "$src")" "$start" "$len" "$(grep -v '^Pos' <<<"$line" | tail -2 | tr '\n' ' ')"
    return 0
  fi
  local errors
  errors=$(ffmpeg -nostdin -v error -i "$out" -map 0:v -f null - 2>&1 | grep -vc 'non monotonically' || true)
  printf '%-22s %5s %3s  %-20s %6.0f ms  ssim %-8s decode errors %-3s %-17s check %s ms\n' "$(basename "$src")" "$start" "$len" \
    "$way" "$(( (t1 - t0) / 1000000 ))" "$(ssim "$out" "$start" "$len" "$src")" "$errors" "${verdict:-content=?}" "${cost:-?}"
  "$CMP" "$out" "$src" "$start" "$len" | tr ' ' '\n' | sed -n 's/^\(first\|last\)=//p' >>"$RIGHT"
  for away in 1 5; do
    local moved
    moved=$(awk -v s="$start" -v a="$away" 'BEGIN { print s + a }')
    "$CMP" "$out" "$src" "$moved" "$len" | tr ' ' '\n' | sed -n 's/^first=//p' >>"$WRONG"
  done
}

echo "clip                   start len  way                    time      SSIM            decode errors     verdict            check cost"
for f in "$W"/sparse-* "$W"/dense-*; do
  for start in 0 5 7.3; do cut "$f" "$start" 4; done
done
cut "$W/cam-h264.m2ts" 5.5 4 cam
cut "$W/cam-h264.m2ts" 0 1 cam
if [ -d "$CORPUS" ]; then
  for f in "$CORPUS"/*; do
    ffprobe -v error -select_streams v -show_entries stream=codec_name -of csv=p=0 "$f" 2>/dev/null | grep -qv 'mjpeg\|png' || continue
    case ${f##*.} in mp4|flv|wmv|mkv|avi|mov|mpg) ;; *) continue ;; esac
    awk -v d="$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f")" 'BEGIN { exit !(d > 3.5) }' || continue
    cut "$f" 1.3 2
  done
fi

echo
python3 - "$RIGHT" "$WRONG" <<'PY'
import sys
right = sorted(float(x) for x in open(sys.argv[1]) if x.strip())
wrong = sorted(float(x) for x in open(sys.argv[2]) if x.strip())
def q(v, p): return v[min(len(v) - 1, int(p * len(v)))] if v else float('nan')
print(f"right cuts ({len(right)} ends): median {q(right, .5):.2f}, 95% {q(right, .95):.2f}, max {right[-1] if right else float('nan'):.2f} grey levels")
print(f"windows moved 1 s / 5 s ({len(wrong)}): min {wrong[0] if wrong else float('nan'):.2f}, 5% {q(wrong, .05):.2f}, median {q(wrong, .5):.2f}")
for limit in (2.0, 3.0, 6.0):
    print(f"limit {limit}: right cuts over it {sum(1 for x in right if x > limit)}, moved windows at or under it {sum(1 for x in wrong if x <= limit)}")
PY
