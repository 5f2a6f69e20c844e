#!/usr/bin/env bash
# A 30 s 1280x720 clip converted with preset 25 (iPod 640x480) and preset 3 (MPEG
# 640x480) through transcoda-cli, against the same jobs run directly on ffmpeg with the
# options the helper tools end up using, and against HandBrakeCLI for the iPod job.
# The jobs take turns, round after round, so that a change in the machine's load falls
# on all of them alike. Prints the median of RUNS rounds (default 5) and the ratios.
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

FF=(ffmpeg -hide_banner -loglevel error -nostdin -y)
HAVE_HB=0
command -v HandBrakeCLI >/dev/null && HAVE_HB=1

# One job: its command line, by name. The output is the last argument.
job_command() {
    case $1 in
        cli_ipod) echo "$CLI" --debug -f 25 "$IN" "$WORK/cli_ipod.m4v" ;;
        ff_ipod) echo "${FF[@]}" -i "$IN" -s 640x480 -c:a aac -ar 48000 -b:a 128k -c:v libx264 -r 30 -crf 22 \
                     -threads 0 -pix_fmt yuv420p -profile:v baseline "$WORK/ff_ipod.m4v" ;;
        cli_mpeg) echo "$CLI" --debug -f 3 "$IN" "$WORK/cli_mpeg.mpeg" ;;
        ff_mpeg) echo "${FF[@]}" -i "$IN" -b:v 4200k -s 640x480 -ar 44100 -ac 2 -b:a 128k "$WORK/ff_mpeg.mpeg" ;;
        hb_ipod) echo HandBrakeCLI -i "$IN" -o "$WORK/hb_ipod.m4v" -e x264 -q 22 -w 640 -l 480 \
                     --custom-anamorphic --pixel-aspect 1:1 -r 30 --cfr -E av_aac -B 128 -R 48 -6 stereo \
                     --encoder-profile baseline ;;
    esac
}

now() { date +%s.%N; }

# run_job NAME: runs it once and appends its wall time to $WORK/NAME.times.
run_job() {
    local name=$1 args output start end
    read -r -a args <<<"$(job_command "$name")"
    output=${args[-1]}
    [ "$name" = hb_ipod ] && output="$WORK/hb_ipod.m4v"
    rm -rf "$output"
    start=$(now)
    if ! "${args[@]}" >/dev/null 2>"$WORK/stderr" </dev/null; then
        echo "$name failed:" >&2
        grep -E '^>>|^Ligne console' "$WORK/stderr" >&2 || true
        grep -v '^|||' "$WORK/stderr" | tail -5 >&2
        exit 1
    fi
    end=$(now)
    [ -s "$output" ] || { echo "$name wrote nothing" >&2; exit 1; }
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }' >>"$WORK/$name.times"
}

median() {
    sort -g "$WORK/$1.times" | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.3f", m }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

jobs=(cli_ipod ff_ipod cli_mpeg ff_mpeg)
[ "$HAVE_HB" = 1 ] && jobs+=(hb_ipod)
for round in $(seq 1 "$RUNS"); do
    for job in "${jobs[@]}"; do run_job "$job"; done
    echo "round $round of $RUNS done" >&2
done

echo "30 s 1280x720 clip, median of $RUNS rounds (seconds, wall clock)"
printf '%-36s %10s %10s %8s\n' "job" "transcoda" "other" "ratio"
printf '%-36s %10s %10s %8s\n' "preset 25 iPod 640x480 vs ffmpeg" "$(median cli_ipod)" "$(median ff_ipod)" \
    "$(ratio "$(median cli_ipod)" "$(median ff_ipod)")"
printf '%-36s %10s %10s %8s\n' "preset 3 MPEG 640x480 vs ffmpeg" "$(median cli_mpeg)" "$(median ff_mpeg)" \
    "$(ratio "$(median cli_mpeg)" "$(median ff_mpeg)")"
if [ "$HAVE_HB" = 1 ]; then
    printf '%-36s %10s %10s %8s\n' "preset 25 iPod vs HandBrakeCLI" "$(median cli_ipod)" "$(median hb_ipod)" \
        "$(ratio "$(median cli_ipod)" "$(median hb_ipod)")"
else
    echo "HandBrakeCLI not installed (make bench-deps): no comparison"
fi
echo "transcoda includes its duration probes and its diagnostic log; goal: at most 1.05 x ffmpeg"
echo "machine load while measuring:$(uptime | sed 's/.*load average//')"
