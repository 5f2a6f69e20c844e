#!/usr/bin/env bash
# transcoda-cli beside other instances of itself, and losing its terminal.
#   side-by-side  two conversions at once from the same program folder; Ctrl-C in one,
#                 and a third instance starting, leave the other one's tools alone
#   lost          HUP, QUIT, TERM and USR1 in the middle of a conversion stop it and clean
#                 up before the program ends; after SIGKILL no tool or engine is left
#                 running and the next start removes the dead instance's files
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
    # A closed terminal (HUP), Ctrl-\ (QUIT), kill (TERM) and USR1 stop the conversion
    # as Ctrl-C does: exit 128 + the signal, the tools, the hidden partial output and the
    # work folder gone before the program ends, the old output whole. SIGKILL cannot be
    # taken: the tools die with the program, and the next start removes what it left.
    echo "earlier lost.mpeg" >"$WORK/out/lost.mpeg"
    cp "$WORK/out/lost.mpeg" "$WORK/lost.kept"
    for row in HUP:129 QUIT:131 TERM:143 USR1:138 KILL:137; do
        signal=${row%%:*} expected=${row#*:}
        "$CLI" --lang EN -y -f 3 "$WORK/long.avi" "$WORK/out/lost.mpeg" >/dev/null 2>&1 </dev/null &
        pid=$!
        for _ in $(seq 1 600); do
            [ -n "$(find "$WORK/out" -name '.lost.transcoda-*' -size +16k)" ] && break
            sleep 0.05
        done
        [ -n "$(find "$WORK/out" -name '.lost.transcoda-*')" ] || fail "lost $signal: no partial output was written"
        folder=$(find "$XDG_RUNTIME_DIR/transcoda" -mindepth 1 -maxdepth 1 -name "$pid-*")
        [ -n "$folder" ] || fail "lost $signal: no work folder of the instance"
        kill -"$signal" "$pid"
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq "$expected" ] || fail "lost $signal: exit status $status, expected $expected"
        cmp -s "$WORK/out/lost.mpeg" "$WORK/lost.kept" || fail "lost $signal: the earlier output was changed"
        # The tools and their engines (whose command lines name the test's files).
        gone_within "$WORK/" || fail "lost $signal: processes left: $(pgrep -af "$WORK/" | head -3)"
        if [ "$signal" != KILL ]; then
            [ -z "$(find "$WORK/out" -name '.lost.transcoda-*')" ] || fail "lost $signal: the partial output is left"
            [ -z "$folder" ] || [ ! -e "$folder" ] || fail "lost $signal: its work folder is left"
        fi
        # The next instance to start removes what a dead one left.
        "$CLI" --formats >/dev/null || fail "lost $signal: the next start failed"
        [ -z "$folder" ] || [ ! -e "$folder" ] || fail "lost $signal: the dead instance's folder is still there"
        [ -z "$(ls -A "$XDG_RUNTIME_DIR/transcoda")" ] || fail "lost $signal: work folders left: $(ls "$XDG_RUNTIME_DIR/transcoda")"
        check_clean "lost $signal"
    done
    ;;
*)
    echo "unknown scenario $TEST_NAME" >&2
    exit 2 ;;
esac
finish
