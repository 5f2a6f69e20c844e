#!/usr/bin/env bash
# How long transcoda-cli takes to leave nothing behind once a signal ends it: from the
# signal to the moment its process has ended, its tools are gone, and neither its hidden
# partial output nor its work folder is left. Measured in the middle of a one-step
# conversion (preset 3, the partial output beside the target) and of the picture step of
# the HD AVI recipe (preset 0, an intermediate in the work folder), for SIGHUP (a closed
# terminal), SIGTERM and SIGINT; then for a list of two items at once whose process is
# killed outright (SIGKILL), until both items have cleaned up by themselves. Prints the
# median and the largest of RUNS rounds (default 5), in ms.
# Usage: BUILD=build bash bench/cli/stop_cleanup.sh
set -euo pipefail

BUILD=${BUILD:-build}
RUNS=${RUNS:-5}
BIN=$(cd "$BUILD/bin" && pwd)
[ -x "$BIN/transcoda-cli" ] || { echo "transcoda-cli not built in $BUILD/bin" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/transcoda-bench.XXXXXX")
trap 'pkill -KILL -f "$WORK/" 2>/dev/null || true; rm -rf "$WORK"' EXIT
# A private copy of the program, so that the tools' command lines name this run only.
mkdir -p "$WORK/prog/B" "$WORK/out" "$WORK/run"
chmod 700 "$WORK/run"
cp "$BIN/transcoda-cli" "$WORK/prog/"
cp "$BIN"/B/utility* "$WORK/prog/B/"
CLI=$WORK/prog/transcoda-cli
export XDG_RUNTIME_DIR=$WORK/run
ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=120 \
    -f lavfi -i sine=frequency=440:duration=120 -c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest "$WORK/long.avi"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Something of the run still there: a process, a partial output, a work folder other
# than the one named by $1 (a killed list's own, left for the next start).
left_behind() {
    pgrep -f "$WORK/(prog|long)" >/dev/null && return 0
    [ -n "$(find "$WORK/out" -name '.*.transcoda-*' -print -quit)" ] && return 0
    [ -n "$(find "$XDG_RUNTIME_DIR/transcoda" -mindepth 1 -maxdepth 1 ! -name "${1:-none}-*" -print -quit 2>/dev/null)" ]
}

# wait_for CONDITION...: true once it holds, within 30 s.
wait_for() {
    for _ in $(seq 1 600); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
partial_written() { [ -n "$(find "$WORK/out" -name '.*.transcoda-*' -size +16k -print -quit)" ]; }
picture_steps() { [ "$(pgrep -fc "$WORK/prog/B/utilitymff3.exe .*1280x720" || true)" -ge "$1" ]; }

# measure LIST_PID SIGNAL: ms from the signal until nothing is left behind.
measure() {
    local pid=$1 signal=$2 start
    start=$(now_ms)
    kill -"$signal" "$pid"
    wait "$pid" 2>/dev/null || true
    local own=none
    [ "$signal" = KILL ] && own=$pid
    while left_behind "$own"; do
        [ $(($(now_ms) - start)) -lt 30000 ] || { echo "not clean after 30 s" >&2; exit 1; }
        sleep 0.005
    done
    echo $(($(now_ms) - start))
}

summary() {
    sort -n | awk -v what="$1" '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2;
        printf "%-44s median %6.0f ms   largest %6d ms   (%d rounds)\n", what, m, t[NR], NR }'
}

for signal in HUP TERM INT; do
    for round in $(seq 1 "$RUNS"); do
        echo "earlier" >"$WORK/out/one.mpeg"
        "$CLI" --lang EN -y -f 3 "$WORK/long.avi" "$WORK/out/one.mpeg" >/dev/null 2>&1 </dev/null &
        pid=$!
        wait_for partial_written || { echo "no partial output" >&2; exit 1; }
        measure "$pid" "$signal"
        [ "$(cat "$WORK/out/one.mpeg")" = earlier ] || { echo "the earlier output was changed" >&2; exit 1; }
    done | summary "SIG$signal, one-step conversion (preset 3)"
    for round in $(seq 1 "$RUNS"); do
        "$CLI" --lang EN -y -f 0 "$WORK/long.avi" "$WORK/out/hd.avi" >/dev/null 2>&1 </dev/null &
        pid=$!
        wait_for picture_steps 1 || { echo "no picture step" >&2; exit 1; }
        measure "$pid" "$signal"
    done | summary "SIG$signal, HD AVI picture step (preset 0)"
done
for round in $(seq 1 "$RUNS"); do
    "$CLI" --lang EN -y --jobs 2 -f 0 "$WORK/long.avi" "$WORK/out/a.avi" -f 0 "$WORK/long.avi" "$WORK/out/b.avi" \
        >/dev/null 2>&1 </dev/null &
    pid=$!
    wait_for picture_steps 2 || { echo "no two picture steps" >&2; exit 1; }
    measure "$pid" KILL
    rm -rf "${XDG_RUNTIME_DIR:?}/transcoda/$pid"-*
done | summary "SIGKILL to a --jobs 2 list, both items"
