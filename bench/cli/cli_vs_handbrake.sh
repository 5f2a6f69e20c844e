#!/usr/bin/env bash
# Three H.264 presets through transcoda-cli against the same jobs on HandBrakeCLI, a
# well-known front end, on a 30 s 1280x720 clip: 25 (iPod 640x480), 28 (PSP 368x208) and
# 31 (Xbox 360 848x480), each at the preset's size, frame rate, quality (x264 CRF 22) and
# sound (AAC 128 kb/s, 48 kHz, stereo). The two take turns, round after round, so that a
# change in the machine's load falls on both alike. Prints the median of RUNS rounds
# (default 5), the ratio and the 1-minute load average when each row began. Against
# ffmpeg itself, every preset is measured by bench/presets/presets.sh.
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

# run_job NAME OUTPUT COMMAND...: runs it once and appends its wall time to $WORK/NAME.times.
run_job() {
    local name=$1 output=$2 start end
    shift 2
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

# preset | label | width | height | frame rate | extension | x264 profile
ROWS=(
    "25|preset 25 iPod 640x480|640|480|30|m4v|baseline"
    "28|preset 28 PSP 368x208|368|208|29.97|mp4|main"
    "31|preset 31 Xbox 360 848x480|848|480|29.97|mp4|main"
)

lines=()
for row in "${ROWS[@]}"; do
    IFS='|' read -r preset label width height rate ext profile <<<"$row"
    load=$(cut -d' ' -f1 /proc/loadavg)
    for round in $(seq 1 "$RUNS"); do
        run_job "cli$preset" "$WORK/cli$preset.$ext" "$CLI" -y -f "$preset" "$IN"
        run_job "hb$preset" "$WORK/hb$preset.$ext" HandBrakeCLI -i "$IN" -e x264 -q 22 -w "$width" -l "$height" \
            --custom-anamorphic --pixel-aspect 1:1 -r "$rate" --cfr -E av_aac -B 128 -R 48 -6 stereo \
            --encoder-profile "$profile" -o
        echo "$label: round $round of $RUNS done" >&2
    done
    lines+=("$(printf '%-30s %10s %12s %8s %6s' "$label" "$(median "cli$preset")" "$(median "hb$preset")" \
        "$(awk -v a="$(median "cli$preset")" -v b="$(median "hb$preset")" 'BEGIN { printf "%.3f", a / b }')" "$load")")
done

echo "30 s 1280x720 clip, median of $RUNS rounds (seconds, wall clock)"
printf '%-30s %10s %12s %8s %6s\n' "job" "transcoda" "HandBrakeCLI" "ratio" "load"
printf '%s\n' "${lines[@]}"
echo "machine load at the end:$(uptime | sed 's/.*load average//')"
