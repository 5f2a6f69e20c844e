#!/usr/bin/env bash
# A 30 s 1280x720 clip converted with preset 25 (iPod 640x480) and preset 3 (MPEG
# 640x480) through transcoda-cli, against the same jobs run directly on ffmpeg with the
# options the helper tools end up using, and against HandBrakeCLI for the iPod job.
# Prints the median of RUNS runs (default 5) of each and the ratios.
# Usage: BUILD=build bash bench/cli/cli_vs_ffmpeg.sh
set -euo pipefail

BUILD=${BUILD:-build}
RUNS=${RUNS:-5}
CLI=$(cd "$BUILD/bin" && pwd)/transcoda-cli
[ -x "$CLI" ] || { echo "transcoda-cli not built in $BUILD/bin" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
IN="$WORK/clip720p.mp4"
ffmpeg -hide_banner -loglevel error -nostdin -y \
    -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$IN"

now() { date +%s.%N; }

# time_runs NAME OUTPUT COMMAND...: runs the command RUNS times, deleting OUTPUT before
# each, and prints the median wall time in seconds.
time_runs() {
    local name=$1 output=$2
    shift 2
    local times=()
    for _ in $(seq 1 "$RUNS"); do
        rm -rf "$output"
        local start end
        start=$(now)
        "$@" >/dev/null 2>"$WORK/stderr" || { echo "$name failed:" >&2; tail -5 "$WORK/stderr" >&2; exit 1; }
        end=$(now)
        [ -s "$output" ] || { echo "$name wrote nothing" >&2; exit 1; }
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f\n", m }'
}

FF=(ffmpeg -hide_banner -loglevel error -nostdin -y)

ipod_cli=$(time_runs "transcoda-cli -f 25" "$WORK/a.m4v" "$CLI" -f 25 "$IN" "$WORK/a.m4v")
ipod_ff=$(time_runs "ffmpeg iPod" "$WORK/b.m4v" "${FF[@]}" -i "$IN" -s 640x480 -c:a aac -ar 48000 -b:a 128k \
    -c:v libx264 -r 30 -crf 22 -threads 0 -pix_fmt yuv420p -profile:v baseline "$WORK/b.m4v")
mpeg_cli=$(time_runs "transcoda-cli -f 3" "$WORK/c.mpeg" "$CLI" -f 3 "$IN" "$WORK/c.mpeg")
mpeg_ff=$(time_runs "ffmpeg MPEG" "$WORK/d.mpeg" "${FF[@]}" -i "$IN" -b:v 4200k -s 640x480 -ar 44100 -ac 2 \
    -b:a 128k "$WORK/d.mpeg")

hb="n/a"
if command -v HandBrakeCLI >/dev/null; then
    hb=$(time_runs "HandBrakeCLI iPod" "$WORK/e.m4v" HandBrakeCLI -i "$IN" -o "$WORK/e.m4v" -e x264 -q 22 \
        -w 640 -l 480 --custom-anamorphic --pixel-aspect 1:1 -r 30 --cfr -E av_aac -B 128 -R 48 -6 stereo \
        --encoder-profile baseline)
fi

ratio() { [ "$2" = "n/a" ] && echo "n/a" || awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo "30 s 1280x720 clip, median of $RUNS runs (seconds, wall clock)"
printf '%-34s %8s %8s %8s\n' "job" "transcoda" "ffmpeg" "ratio"
printf '%-34s %8s %8s %8s\n' "preset 25, iPod H.264 640x480" "$ipod_cli" "$ipod_ff" "$(ratio "$ipod_cli" "$ipod_ff")"
printf '%-34s %8s %8s %8s\n' "preset 3, MPEG 640x480" "$mpeg_cli" "$mpeg_ff" "$(ratio "$mpeg_cli" "$mpeg_ff")"
printf '%-34s %8s %8s %8s\n' "HandBrakeCLI iPod (vs transcoda)" "$ipod_cli" "$hb" "$(ratio "$ipod_cli" "$hb")"
echo "transcoda includes its two duration probes per step; goal: at most 1.05 x ffmpeg"
