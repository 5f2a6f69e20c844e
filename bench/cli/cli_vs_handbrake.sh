#!/usr/bin/env bash
# Preset 25 (iPod 640x480) through transcoda-cli against the same job on HandBrakeCLI,
# a well-known front end, on a 30 s 1280x720 clip. The two take turns, round after round,
# so that a change in the machine's load falls on both alike. Prints the median of RUNS
# rounds (default 5) and the ratio. Against ffmpeg itself, every preset is measured by
# bench/presets/presets.sh.
# Usage: BUILD=build bash bench/cli/cli_vs_handbrake.sh
set -euo pipefail

BUILD=${BUILD:-build}
RUNS=${RUNS:-5}
CLI=$(cd "$BUILD/bin" && pwd)/transcoda-cli
[ -x "$CLI" ] || { echo "transcoda-cli not built in $BUILD/bin" >&2; exit 1; }
command -v HandBrakeCLI >/dev/null || { echo "HandBrakeCLI not installed (make bench-deps): no comparison"; exit 0; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
IN="$WORK/clip720p.mp4"
ffmpeg -hide_banner -loglevel error -nostdin -y \
    -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$IN"

# run_job NAME COMMAND...: runs it once and appends its wall time to $WORK/NAME.times.
run_job() {
    local name=$1 output=$WORK/$1.m4v start end
    shift
    rm -f "$output"
    start=$(date +%s.%N)
    if ! "$@" "$output" >/dev/null 2>"$WORK/stderr" </dev/null; then
        echo "$name failed:" >&2
        tail -5 "$WORK/stderr" >&2
        exit 1
    fi
    end=$(date +%s.%N)
    [ -s "$output" ] || { echo "$name wrote nothing" >&2; exit 1; }
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }' >>"$WORK/$name.times"
}

median() {
    sort -g "$WORK/$1.times" | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f", m }'
}

for round in $(seq 1 "$RUNS"); do
    run_job cli "$CLI" -y -f 25 "$IN"
    run_job hb HandBrakeCLI -i "$IN" -e x264 -q 22 -w 640 -l 480 --custom-anamorphic --pixel-aspect 1:1 \
        -r 30 --cfr -E av_aac -B 128 -R 48 -6 stereo --encoder-profile baseline -o
    echo "round $round of $RUNS done" >&2
done

echo "30 s 1280x720 clip, median of $RUNS rounds (seconds, wall clock)"
printf '%-36s %10s %12s %8s\n' "job" "transcoda" "HandBrakeCLI" "ratio"
printf '%-36s %10s %12s %8s\n' "preset 25 iPod 640x480" "$(median cli)" "$(median hb)" \
    "$(awk -v a="$(median cli)" -v b="$(median hb)" 'BEGIN { printf "%.3f", a / b }')"
echo "machine load while measuring:$(uptime | sed 's/.*load average//')"
