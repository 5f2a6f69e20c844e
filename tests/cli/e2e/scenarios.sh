#!/usr/bin/env bash
# transcoda-cli as a user meets it: a list with its item counter, a list file, Ctrl-C
# in the middle of a recipe, and the two failures that must not pass for success.
# Usage: scenarios.sh NAME
TEST_NAME=$1
source "$(dirname "$0")/common.sh"

case $TEST_NAME in
list)
    # Three -f groups, then the same as a list file with a label and indexes.
    run_cli --lang EN -f 3 "$FIXTURES/clip.avi" "$WORK/out/a.mpeg" \
                      -f 36 "$FIXTURES/clip.mp4" "$WORK/out/b.wav" \
                      -f 30 "$FIXTURES/clip.mkv" "$WORK/out/c.m4v"
    [ "$STATUS" -eq 0 ] || fail "list: exit status $STATUS"
    for counter in "(1/3)" "(2/3)" "(3/3)"; do
        grep -qF "$counter" "$WORK/stdout" || fail "list: no $counter in the output"
    done
    check_media "list a" "$WORK/out/a.mpeg" 640x480
    check_media "list b" "$WORK/out/b.wav" audio
    check_media "list c" "$WORK/out/c.m4v" 320x240
    check_clean "list"

    printf '%s\t%s\t%s\n' " Audio MP3 - MP3; Audio (128kbps)" "$FIXTURES/clip.flv" "$WORK/out/d.mp3" \
        5 "$FIXTURES/clip.wmv" "$WORK/out/e.mpeg" >"$WORK/jobs.tsv"
    run_cli --lang FR --list "$WORK/jobs.tsv"
    [ "$STATUS" -eq 0 ] || fail "list file: exit status $STATUS"
    grep -qF "(2/2)" "$WORK/stdout" || fail "list file: no (2/2)"
    check_media "list file d" "$WORK/out/d.mp3" audio
    check_media "list file e" "$WORK/out/e.mpeg" 320x240
    check_clean "list file"

    # An unknown label or a negative index anywhere in a list file refuses the whole list
    # before anything runs.
    for format in "Video without its blank" -3; do
        printf '%s\t%s\t%s\n' 36 "$FIXTURES/clip.mp3" "$WORK/out/u.wav" \
            "$format" "$FIXTURES/clip.avi" "$WORK/out/f.mpeg" >"$WORK/unknown.tsv"
        EXPECT_FAILURE=1 run_cli --lang EN --list "$WORK/unknown.tsv"
        [ "$STATUS" -eq 2 ] || fail "unknown format $format: exit status $STATUS, expected 2"
        grep -qF "There is no format \"$format\"" "$WORK/stderr" || fail "unknown format $format: no message"
        [ ! -e "$WORK/out/u.wav" ] && [ ! -e "$WORK/out/f.mpeg" ] || fail "unknown format $format: something was converted"
    done

    # A list goes on past a failing item, and ends with one summary of the failures and a
    # non-zero status.
    printf '%s\t%s\t%s\n' 0 "$FIXTURES/clip.wav" "$WORK/out/g.avi" \
        36 "$FIXTURES/clip.mp3" "$WORK/out/h.wav" >"$WORK/mixed.tsv"
    EXPECT_FAILURE=1 run_cli --lang EN --list "$WORK/mixed.tsv"
    [ "$STATUS" -eq 1 ] || fail "mixed list: exit status $STATUS, expected 1"
    [ "$(grep -cF "The following conversions failed:" "$WORK/stderr")" -eq 1 ] || fail "mixed list: not one summary"
    grep -qF "  $FIXTURES/clip.wav" "$WORK/stderr" || fail "mixed list: the summary does not name the failed input"
    grep -qF "(2/2)" "$WORK/stdout" || fail "mixed list: the second item was not reached"
    check_media "mixed list h" "$WORK/out/h.wav" audio
    grep -qF "1 of 2 file(s) written." "$WORK/stderr" || fail "mixed list: wrong count"
    check_clean "mixed list"
    ;;
stop)
    # A clip long enough that the picture step of the HD AVI recipe is still running
    # when Ctrl-C comes.
    ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=60 \
        -f lavfi -i sine=frequency=440:duration=60 -c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest "$WORK/long.avi"
    "$CLI" --lang EN -f 0 "$WORK/long.avi" "$WORK/out/hd.avi" >"$WORK/stdout" 2>"$WORK/stderr" &
    pid=$!
    # Wait for the picture step (the tool line that writes the 1280x720 intermediate).
    for _ in $(seq 1 300); do
        pgrep -f "$WORK/prog/B/utilitymff3.exe.*1280x720" >/dev/null && break
        sleep 0.1
    done
    pgrep -f "$WORK/prog/B/utilitymff3.exe.*1280x720" >/dev/null || fail "stop: the picture step never ran"
    sleep 1
    kill -INT "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 130 ] || fail "stop: exit status $status, expected 130"
    [ ! -e "$WORK/out/hd.avi" ] || fail "stop: an output was left"
    check_clean "stop"

    # The same in the second item of a list: the first stays, the third never starts.
    "$CLI" --lang EN -f 36 "$FIXTURES/clip.avi" "$WORK/out/first.wav" \
                     -f 0 "$WORK/long.avi" "$WORK/out/second.avi" \
                     -f 3 "$FIXTURES/clip.avi" "$WORK/out/third.mpeg" >"$WORK/stdout" 2>"$WORK/stderr" &
    pid=$!
    for _ in $(seq 1 300); do
        pgrep -f "$WORK/prog/B/utilitymff3.exe.*1280x720" >/dev/null && break
        sleep 0.1
    done
    kill -INT "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 130 ] || fail "list stop: exit status $status, expected 130"
    grep -qF "(2/3)" "$WORK/stdout" || fail "list stop: the second item never started"
    ! grep -qF "(3/3)" "$WORK/stdout" || fail "list stop: the third item started"
    check_media "list stop first" "$WORK/out/first.wav" audio
    [ ! -e "$WORK/out/second.avi" ] && [ ! -e "$WORK/out/third.mpeg" ] || fail "list stop: outputs left"
    check_clean "list stop"
    ;;
sound-only)
    # A sound-only input to video presets (a chained recipe, a one-step ffmpeg-style and
    # a mencoder-style one): the tools cannot make the picture, and that is said.
    for index in 0 25 12; do
        EXPECT_FAILURE=1 run_cli --lang EN -f "$index" "$FIXTURES/clip.wav" "$WORK/out/s$index.out"
        [ "$STATUS" -ne 0 ] || fail "sound-only $index: exit status 0"
        grep -qF "The conversion of \"$FIXTURES/clip.wav\" failed" "$WORK/stderr" ||
            fail "sound-only $index: no failure message"
        grep -qF "0 of 1 file(s) written." "$WORK/stderr" || fail "sound-only $index: no summary"
        check_clean "sound-only $index"
    done
    ;;
folder)
    # The output's folder would lie under a plain file.
    touch "$WORK/out/plain"
    EXPECT_FAILURE=1 run_cli --lang EN -f 3 "$FIXTURES/clip.avi" "$WORK/out/plain/sub/x.mpeg"
    [ "$STATUS" -ne 0 ] || fail "folder: exit status 0"
    grep -qF "Impossible de créer le répertoire associé au fichier de sortie" "$WORK/stderr" ||
        fail "folder: no folder message"
    EXPECT_FAILURE=1 run_cli --lang EN -f 33 "$FIXTURES/clip.avi" "$WORK/out/plain/dvd/"
    [ "$STATUS" -ne 0 ] || fail "dvd folder: exit status 0"
    grep -qF "Impossible de créer le répertoire associé au DVD" "$WORK/stderr" || fail "dvd folder: no folder message"
    check_clean "folder"
    ;;
*)
    echo "unknown scenario $TEST_NAME" >&2
    exit 2 ;;
esac
finish
