#!/usr/bin/env bash
# transcoda-cli beside other instances of itself, and losing its terminal.
#   side-by-side  two conversions at once from the same program folder; Ctrl-C in one,
#                 and a third instance starting, leave the other one's tools alone
#   lost          SIGHUP and SIGKILL in the middle of a recipe leave no tool or engine
#                 running; the next start removes the dead instance's work folder
# Usage: instances.sh NAME
TEST_NAME=$1
source "$(dirname "$0")/common.sh"

# The instances' work folders live under the test's own folder.
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# A clip long enough that the picture step of the HD AVI recipe runs for a while.
ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=120 \
    -f lavfi -i sine=frequency=440:duration=120 -c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest "$WORK/long.avi"

# wait_for_step PID: waits until the CLI PID runs the picture step (the tool line that
# writes the 1280x720 intermediate); false when it never does.
wait_for_step() {
    local tool
    for _ in $(seq 1 600); do
        for tool in $(pgrep -f "$WORK/prog/B/utilitymff3.exe.*1280x720" || true); do
            [ "$(ps -o ppid= -p "$tool" | tr -d ' ')" = "$1" ] && return 0
        done
        sleep 0.05
    done
    return 1
}

# gone_within PATTERN: no process whose command line holds PATTERN, within 5 s.
gone_within() {
    for _ in $(seq 1 100); do
        pgrep -f "$1" >/dev/null || return 0
        sleep 0.05
    done
    return 1
}

case $TEST_NAME in
side-by-side)
    "$CLI" --lang EN -f 0 "$WORK/long.avi" "$WORK/out/kept.avi" >"$WORK/kept.out" 2>"$WORK/kept.err" </dev/null &
    kept=$!
    wait_for_step "$kept" || fail "side-by-side: the first conversion never reached its picture step"
    "$CLI" --lang EN -f 0 "$WORK/long.avi" "$WORK/out/stopped.avi" >"$WORK/stopped.out" 2>"$WORK/stopped.err" </dev/null &
    stopped=$!
    wait_for_step "$stopped" || fail "side-by-side: the second conversion never reached its picture step"
    # A third instance starts (and looks for tools of dead instances) while both run.
    "$CLI" --formats >/dev/null || fail "side-by-side: --formats failed"
    kill -INT "$stopped"
    status=0
    wait "$stopped" || status=$?
    [ "$status" -eq 130 ] || fail "side-by-side: the stopped one ended with $status, expected 130"
    kill -0 "$kept" 2>/dev/null || fail "side-by-side: the first conversion ended when the second was stopped"
    status=0
    wait "$kept" || status=$?
    [ "$status" -eq 0 ] || { fail "side-by-side: the first conversion ended with $status"; cat "$WORK/kept.err" >&2; }
    check_media "side-by-side" "$WORK/out/kept.avi" 1280x720 100
    check_clean "side-by-side"
    ;;
lost)
    for signal in HUP KILL; do
        "$CLI" --lang EN -f 0 "$WORK/long.avi" "$WORK/out/lost.avi" >/dev/null 2>&1 </dev/null &
        pid=$!
        wait_for_step "$pid" || fail "lost $signal: the picture step never ran"
        folder=$(find "$XDG_RUNTIME_DIR/transcoda" -mindepth 1 -maxdepth 1 -name "$pid-*")
        [ -n "$folder" ] || fail "lost $signal: no work folder of the instance"
        kill -"$signal" "$pid"
        wait "$pid" || true
        # The tools and their engines (whose command lines name the test's files).
        gone_within "$WORK/" || fail "lost $signal: processes left: $(pgrep -af "$WORK/" | head -3)"
        # The next instance to start removes the dead one's folder.
        "$CLI" --formats >/dev/null || fail "lost $signal: the next start failed"
        [ -z "$folder" ] || [ ! -e "$folder" ] || fail "lost $signal: the dead instance's folder is still there"
        [ -z "$(ls -A "$XDG_RUNTIME_DIR/transcoda")" ] || fail "lost $signal: work folders left: $(ls "$XDG_RUNTIME_DIR/transcoda")"
    done
    ;;
*)
    echo "unknown scenario $TEST_NAME" >&2
    exit 2 ;;
esac
finish
