#!/usr/bin/env bash
# What the helper tools cost on top of the engine they run: the same job through the
# tool and directly on ffmpeg with the options the tool gives it, run alternately (so
# that a change in the machine's load hits both alike), median wall time of 5 runs
# each, their ratio, and the peak memory of the tool process itself.
#   BUILD=build bash bench/helpers/tool_overhead.sh
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
B=$BUILD/bin/B
RUNS=${RUNS:-5}
[ -x "$B/utilitymffx.exe" ] || { echo "build the helper tools first ($B)"; exit 1; }

W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
FF=(ffmpeg -hide_banner -loglevel error -nostdin -y)

echo "Making 30 s 1280x720 clips..."
"${FF[@]}" -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 -f lavfi -i sine=frequency=440:duration=30 \
  -c:v libx264 -preset veryfast -g 50 -c:a aac -b:a 128k "$W/in.mkv"
"${FF[@]}" -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 -f lavfi -i sine=frequency=440:duration=30 \
  -c:v wmv2 -b:v 4000k -c:a wmav2 -b:a 128k "$W/in.wmv"

# name | tool | tool arguments | equivalent ffmpeg arguments
JOBS=(
  "IpodNorml|utilitymffx.exe|-i $W/in.mkv -s 640x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 $W/tool.m4v|-nostdin -hide_banner -i $W/in.mkv -s 640x480 -c:a aac -ar 48000 -b:a 128k -c:v libx264 -r 30 -crf 22 -threads 0 -pix_fmt yuv420p -profile:v baseline -y $W/direct.m4v"
  "mpeg480p128asf|utilitymen.exe|$W/in.wmv -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=640:480 -o $W/tool.mpeg|-nostdin -hide_banner -y -i $W/in.wmv -map 0:v:0 -map 0:a:0 -c:v mpeg1video -b:v 4000k -pix_fmt yuv420p -vf scale=640:480 -c:a libmp3lame -b:a 192k -abr 1 -f mpeg $W/direct.mpeg"
)

# Peak resident memory (kB) of one process while it runs: its VmHWM read until it ends.
peak_of() {
  local pid=$1 peak=0 v
  while kill -0 "$pid" 2>/dev/null; do
    v=$(awk '/^VmHWM/{print $2}' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$v" ] && [ "$v" -gt "$peak" ] && peak=$v
    sleep 0.05
  done
  echo "$peak"
}

printf "\n%-16s %12s %12s %8s %14s %14s\n" "job" "tool (s)" "ffmpeg (s)" "ratio" "tool RSS (MB)" "engine RSS (MB)"
for job in "${JOBS[@]}"; do
  IFS='|' read -r name tool targs fargs <<<"$job"
  : >"$W/tool.runs"
  : >"$W/direct.times"
  for _ in $(seq "$RUNS"); do
    rc=0
    rm -f "$W/tool.m4v" "$W/tool.mpeg" # the program deletes a step's output before running it
    # shellcheck disable=SC2086
    s=$(date +%s.%N); "$B/$tool" $targs >/dev/null 2>&1 || rc=$?; e=$(date +%s.%N)
    [ "$rc" -eq 0 ] || { echo "$name: the tool failed ($rc)"; exit 1; }
    echo "$s $e" >>"$W/tool.runs"
    # shellcheck disable=SC2086
    s=$(date +%s.%N); ffmpeg $fargs >/dev/null 2>&1; e=$(date +%s.%N)
    echo "$s $e" >>"$W/direct.times"
  done
  median() { python3 -c 'import sys,statistics; print(statistics.median(float(b)-float(a) for a,b in (l.split() for l in open(sys.argv[1]))))' "$1"; }
  t=$(median "$W/tool.runs")
  d=$(median "$W/direct.times")
  # Memory: the tool process itself, and the largest of its engines.
  rm -f "$W/tool.m4v" "$W/tool.mpeg"
  # shellcheck disable=SC2086
  "$B/$tool" $targs >/dev/null 2>&1 &
  tpid=$!
  sleep 0.3
  epid=$(pgrep -P "$tpid" ffmpeg | head -1 || true)
  [ -n "$epid" ] && { peak_of "$epid" >"$W/engine.kb" & }
  tpeak=$(peak_of "$tpid")
  wait "$tpid" || true
  wait
  epeak=$(cat "$W/engine.kb" 2>/dev/null || echo 0)
  printf "%-16s %12.3f %12.3f %8.4f %14.1f %14.1f\n" "$name" "$t" "$d" "$(python3 -c "print($t/$d)")" \
    "$(python3 -c "print($tpeak/1024)")" "$(python3 -c "print($epeak/1024)")"
done
