#!/usr/bin/env bash
# transcoda-cli as a user meets it: a list with its item counter, a list file, several
# items at once, shards of a list, Ctrl-C in the middle of a recipe and of several
# items (the old outputs kept whole), a step killed from outside (alone, and in one item
# of several at once), outputs that may not be written, and requests that cannot give a
# true result; names of every legal length, default names beside the input, one output
# named twice, a pipe as input, a full disk.
# Usage: scenarios.sh NAME
TEST_NAME=$1
source "$(dirname "$0")/common.sh"

# A 60-second clip, long enough for a step to be caught while it runs.
make_long_clip() {
    ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=60 \
        -f lavfi -i sine=frequency=440:duration=60 -c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest "$WORK/long.avi"
}

# Waits for the picture step of the HD AVI recipe (the tool line that writes the
# 1280x720 intermediate); false when it never comes.
wait_for_picture_step() {
    for _ in $(seq 1 300); do
        pgrep -f "$WORK/prog/B/utilitymff3.exe .*1280x720" >/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits until the picture step has written part of its intermediate (the tmp*.avi of
# the work folder): Ctrl-C then falls in the middle of the encoding.
wait_for_picture_written() {
    for _ in $(seq 1 300); do
        [ -n "$(find "$XDG_RUNTIME_DIR" -name 'tmp*.avi' -size +64k 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    return 1
}

# check_records WHAT FILE EXPECTED_ITEMS: every line of FILE is a JSON progress record;
# each item is told waiting first, converting only before its one last record, the list's
# record comes last and counts the items' ends; prints "output<TAB>state" per item.
check_records() {
    python3 - "$@" <<'PY' || fail "$1: $(tail -1 "$WORK/records.err")"
import json, sys
what, path, expected = sys.argv[1], sys.argv[2], int(sys.argv[3])
finals = ("written", "failed", "stopped", "kept")
lines = open(path, encoding="utf-8").read().splitlines()
records = [json.loads(line) for line in lines]
assert records and records[-1].get("list") is True, "no list record last"
whole = records.pop()
items = {}
for r in records:
    for key in ("item", "items", "input", "output", "preset", "label", "step", "state", "percent", "elapsed", "left"):
        assert key in r, f"no {key} in {r}"
    assert r["items"] == expected == whole["items"], f"items {r['items']}, expected {expected}"
    seen = items.setdefault(r["item"], [])
    assert seen or r["state"] == "waiting", f"item {r['item']} begins {r['state']}"
    assert not seen or seen[-1]["state"] not in finals, f"item {r['item']} told after its end"
    assert r["state"] != "failed" or r.get("message"), f"a failure without its message: {r}"
    assert r["percent"] is None or 0 <= r["percent"] <= 100, r
    seen.append(r)
assert sorted(items) == list(range(1, expected + 1)), f"items {sorted(items)}"
ends = [seen[-1]["state"] for seen in items.values()]
for state in finals:
    assert whole[state] == ends.count(state), f"list record {whole}, ends {ends}"
for number in sorted(items):
    print(f"{items[number][-1]['output']}\t{items[number][-1]['state']}")
PY
}

case $TEST_NAME in
list)
    # Three -f groups one at a time, then a list file with a label and indexes on every
    # processor.
    run_cli --lang EN --jobs 1 -f 3 "$FIXTURES/clip.avi" "$WORK/out/a.mpeg" \
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
    # when Ctrl-C comes. The output of an earlier run is there and must stay as it was.
    make_long_clip
    echo "earlier hd.avi" >"$WORK/out/hd.avi"
    cp "$WORK/out/hd.avi" "$WORK/hd.kept"
    "$CLI" --lang EN -y -f 0 "$WORK/long.avi" "$WORK/out/hd.avi" >"$WORK/stdout" 2>"$WORK/stderr" &
    pid=$!
    wait_for_picture_step || fail "stop: the picture step never ran"
    wait_for_picture_written || fail "stop: the picture step wrote nothing"
    kill -INT "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 130 ] || fail "stop: exit status $status, expected 130"
    cmp -s "$WORK/out/hd.avi" "$WORK/hd.kept" || fail "stop: the earlier output was changed"
    check_clean "stop"

    # The same in the second item of a list run again, one item at a time: the first is
    # the new one, the second and third keep what the earlier run wrote, the third never
    # starts.
    echo "earlier second" >"$WORK/out/second.avi"
    echo "earlier third" >"$WORK/out/third.mpeg"
    cp "$WORK/out/second.avi" "$WORK/second.kept"
    cp "$WORK/out/third.mpeg" "$WORK/third.kept"
    "$CLI" --lang EN --jobs 1 -y -f 36 "$FIXTURES/clip.avi" "$WORK/out/first.wav" \
                     -f 0 "$WORK/long.avi" "$WORK/out/second.avi" \
                     -f 3 "$FIXTURES/clip.avi" "$WORK/out/third.mpeg" >"$WORK/stdout" 2>"$WORK/stderr" &
    pid=$!
    wait_for_picture_step
    kill -INT "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 130 ] || fail "list stop: exit status $status, expected 130"
    grep -qF "(2/3)" "$WORK/stdout" || fail "list stop: the second item never started"
    ! grep -qF "(3/3)" "$WORK/stdout" || fail "list stop: the third item started"
    check_media "list stop first" "$WORK/out/first.wav" audio
    cmp -s "$WORK/out/second.avi" "$WORK/second.kept" || fail "list stop: the second output was changed"
    cmp -s "$WORK/out/third.mpeg" "$WORK/third.kept" || fail "list stop: the third output was changed"
    check_clean "list stop"
    ;;
jobs)
    # Two items at once, one failing among several: every other item is written, the
    # failure is told once in the summary, and the status is that of the whole list.
    printf '%s\t%s\t%s\n' 3 "$FIXTURES/clip.avi" "$WORK/out/a.mpeg" \
        0 "$FIXTURES/clip.wav" "$WORK/out/b.avi" \
        34 "$FIXTURES/clip.mp4" "$WORK/out/c.mp3" \
        33 "$FIXTURES/clip.mkv" "$WORK/out/dvd/" \
        36 "$FIXTURES/clip.flv" "$WORK/out/e.wav" >"$WORK/jobs.tsv"
    EXPECT_FAILURE=1 run_cli --lang EN --jobs 2 --list "$WORK/jobs.tsv"
    [ "$STATUS" -eq 1 ] || fail "jobs: exit status $STATUS, expected 1"
    for counter in "(1/5)" "(2/5)" "(3/5)" "(4/5)" "(5/5)"; do
        grep -qF "$counter" "$WORK/stdout" || fail "jobs: no $counter in the output"
    done
    [ "$(grep -cF "The following conversions failed:" "$WORK/stderr")" -eq 1 ] || fail "jobs: not one summary"
    grep -qF "  $FIXTURES/clip.wav" "$WORK/stderr" || fail "jobs: the summary does not name the failed input"
    ! grep -qF "The conversion of \"$FIXTURES/clip.wav\" failed" "$WORK/stderr" || fail "jobs: the failure told twice"
    grep -qF "4 of 5 file(s) written." "$WORK/stderr" || fail "jobs: wrong count"
    check_media "jobs a" "$WORK/out/a.mpeg" 640x480
    [ ! -e "$WORK/out/b.avi" ] || fail "jobs: the failed item left an output"
    check_media "jobs c" "$WORK/out/c.mp3" audio
    check_media "jobs dvd" "$WORK/out/dvd/DVD-Disc1/VIDEO_TS/VTS_01_1.VOB" 720x576
    check_media "jobs e" "$WORK/out/e.wav" audio
    check_clean "jobs"
    ;;
jobs-stop)
    # Ctrl-C while two items convert at once: both stop and clean up, the outputs of an
    # earlier run stay as they were, and the third item never starts. The list process
    # killed outright (SIGKILL): its items' tools die with it, and the next start removes
    # what they were writing.
    make_long_clip
    for name in a b c; do
        echo "earlier $name" >"$WORK/out/$name.avi"
        cp "$WORK/out/$name.avi" "$WORK/$name.kept"
    done
    for row in INT:130 KILL:137; do
        signal=${row%%:*} expected=${row#*:}
        "$CLI" --lang EN --jobs 2 -y -f 0 "$WORK/long.avi" "$WORK/out/a.avi" -f 0 "$WORK/long.avi" "$WORK/out/b.avi" \
            -f 0 "$WORK/long.avi" "$WORK/out/c.avi" >"$WORK/stdout" 2>"$WORK/stderr" &
        pid=$!
        for _ in $(seq 1 300); do
            [ "$(pgrep -fc "$WORK/prog/B/utilitymff3.exe .*1280x720")" -ge 2 ] && break
            sleep 0.1
        done
        [ "$(pgrep -fc "$WORK/prog/B/utilitymff3.exe .*1280x720")" -ge 2 ] ||
            fail "jobs-stop $signal: two picture steps never ran at once"
        kill -"$signal" "$pid"
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq "$expected" ] || fail "jobs-stop $signal: exit status $status, expected $expected"
        if [ "$signal" = INT ]; then
            grep -qF "Conversion stopped." "$WORK/stderr" || fail "jobs-stop: not told"
            ! grep -qF "(3/3)" "$WORK/stdout" || fail "jobs-stop: the third item started"
        else
            # The tools end with the process, within a bound. Only the list process's own
            # work folder is left, for the next start.
            for _ in $(seq 1 600); do
                pgrep -f "$WORK/" >/dev/null || break
                sleep 0.05
            done
            ! pgrep -f "$WORK/" >/dev/null || fail "jobs-stop KILL: processes left: $(pgrep -af "$WORK/" | head -3)"
            left=$(find "$XDG_RUNTIME_DIR/transcoda" -mindepth 1 -maxdepth 1 ! -name "$pid-*" -printf '%f ')
            [ -z "$left" ] || fail "jobs-stop KILL: the items' work folders are left: $left"
            "$CLI" --formats >/dev/null || fail "jobs-stop KILL: the next start failed"
        fi
        for name in a b c; do
            cmp -s "$WORK/out/$name.avi" "$WORK/$name.kept" || fail "jobs-stop $signal: the earlier $name.avi was changed"
        done
        check_clean "jobs-stop $signal"
    done
    ;;
shard)
    # Shards of one list, as separate machines would run them: each item converted by
    # exactly one shard; a shard past the end of the list has nothing to do.
    : >"$WORK/shard.tsv"
    for item in 1 2 3 4 5; do
        printf '%s\t%s\t%s\n' 36 "$FIXTURES/clip.mp3" "$WORK/out/$item.wav" >>"$WORK/shard.tsv"
    done
    run_cli --lang EN --list "$WORK/shard.tsv" --shard 1/2
    [ "$STATUS" -eq 0 ] || fail "shard 1/2: exit status $STATUS"
    [ "$(cd "$WORK/out" && echo *.wav)" = "1.wav 3.wav 5.wav" ] || fail "shard 1/2 wrote $(ls "$WORK/out")"
    grep -qF "3 of 3 file(s) written." "$WORK/stdout" || fail "shard 1/2: wrong count"
    rm "$WORK/out/"*.wav
    run_cli --lang EN --list "$WORK/shard.tsv" --shard 2/2
    [ "$STATUS" -eq 0 ] || fail "shard 2/2: exit status $STATUS"
    [ "$(cd "$WORK/out" && echo *.wav)" = "2.wav 4.wav" ] || fail "shard 2/2 wrote $(ls "$WORK/out")"
    run_cli --lang EN --list "$WORK/shard.tsv" --shard 6/6
    [ "$STATUS" -eq 0 ] || fail "shard 6/6: exit status $STATUS"
    for shard in 3/2 0/2 2; do
        EXPECT_FAILURE=1 run_cli --lang EN --list "$WORK/shard.tsv" --shard "$shard"
        [ "$STATUS" -eq 2 ] || fail "shard $shard: exit status $STATUS, expected 2"
        grep -qF "Invalid shard \"$shard\"" "$WORK/stderr" || fail "shard $shard: no message"
    done
    [ "$(cd "$WORK/out" && echo *.wav)" = "2.wav 4.wav" ] || fail "shards wrote $(ls "$WORK/out")"

    # Four shards of a list of 12 at once under GNU parallel, as four machines would run
    # them: every item written exactly once, by its records and by the files.
    command -v parallel >/dev/null || fail "shard: GNU parallel is not installed (make deps)"
    rm -f "$WORK/out/"*.wav
    : >"$WORK/twelve.tsv"
    for item in $(seq 1 12); do
        printf '%s\t%s\t%s\n' 36 "$FIXTURES/clip.mp3" "$WORK/out/p$item.wav" >>"$WORK/twelve.tsv"
    done
    parallel -j4 "$CLI" --lang EN --progress json --jobs 1 --list "$WORK/twelve.tsv" --shard {}/4 \
        '>' "$WORK/shard{}.json" '2>' "$WORK/shard{}.err" ::: 1 2 3 4 </dev/null || fail "parallel shards: a shard failed"
    for k in 1 2 3 4; do
        check_records "parallel shard $k" "$WORK/shard$k.json" 3 2>"$WORK/records.err"
    done >"$WORK/ends"
    [ "$(grep -c $'\twritten$' "$WORK/ends")" -eq 12 ] || fail "parallel shards: $(cat "$WORK/ends")"
    [ "$(cut -f1 "$WORK/ends" | sort -u | wc -l)" -eq 12 ] || fail "parallel shards: an item written twice"
    for item in $(seq 1 12); do
        check_media "parallel shards item $item" "$WORK/out/p$item.wav" audio
    done
    check_clean "shard"
    ;;
progress)
    # Progress off a terminal: plain lines, no "\r", no trailing blanks, one per step and
    # at most about one a second.
    ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=20 \
        -f lavfi -i sine=frequency=440:duration=20 -c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest "$WORK/clip20.avi"
    start=$SECONDS
    run_cli --lang EN -f 3 "$WORK/clip20.avi" "$WORK/out/plain.mpeg"
    took=$((SECONDS - start + 1))
    [ "$STATUS" -eq 0 ] || fail "plain: exit status $STATUS"
    ! grep -q $'\r' "$WORK/stdout" || fail "plain: a carriage return on a pipe"
    ! grep -q ' $' "$WORK/stdout" || fail "plain: trailing blanks"
    grep -q '^Conversion\.\.\.  Progression : [0-9.]*%' "$WORK/stdout" || fail "plain: no percent line: $(cat "$WORK/stdout")"
    [ "$(wc -l <"$WORK/stdout")" -le $((took + 6)) ] || fail "plain: $(wc -l <"$WORK/stdout") lines in $took s"

    # JSON records, parsed: one conversion; a list one item at a time and two at once,
    # with a failing item, an output that exists already, and names that JSON must
    # escape (a quote, a tab, a non-ASCII letter, a byte that is not UTF-8).
    odd="$WORK/in/q\"t"$'\t'"é"$'\xff'".mp3"
    mkdir -p "$WORK/in"
    cp "$FIXTURES/clip.mp3" "$odd"
    run_cli --lang EN --progress=json -f 36 "$odd" "$WORK/out/odd.wav"
    [ "$STATUS" -eq 0 ] || fail "json one: exit status $STATUS"
    check_records "json one" "$WORK/stdout" 1 >"$WORK/ends" 2>"$WORK/records.err"
    grep -qF "written" "$WORK/ends" || fail "json one: not written"
    python3 -c 'import json,sys; r=json.loads(open(sys.argv[1]).readline()); assert r["input"]==sys.argv[2].encode("utf-8","surrogateescape").decode("utf-8","replace"), r["input"]' \
        "$WORK/stdout" "$odd" 2>"$WORK/records.err" || fail "json one: the input's name: $(tail -1 "$WORK/records.err")"
    echo "earlier" >"$WORK/out/there.mpeg"
    printf '%s\t%s\t%s\n' 3 "$FIXTURES/clip.avi" "$WORK/out/a.mpeg" 0 "$FIXTURES/clip.wav" "$WORK/out/b.avi" \
        36 "$FIXTURES/clip.mp3" "$WORK/out/c.wav" 3 "$FIXTURES/clip.avi" "$WORK/out/there.mpeg" >"$WORK/mixed.tsv"
    for jobs in 1 2; do
        rm -f "$WORK/out/a.mpeg" "$WORK/out/c.wav"
        EXPECT_FAILURE=1 run_cli --lang FR --jobs "$jobs" --progress json --list "$WORK/mixed.tsv"
        [ "$STATUS" -eq 1 ] || fail "json list --jobs $jobs: exit status $STATUS"
        check_records "json list --jobs $jobs" "$WORK/stdout" 4 >"$WORK/ends" 2>"$WORK/records.err"
        printf '%s\t%s\n' "$WORK/out/a.mpeg" written "$WORK/out/b.avi" failed "$WORK/out/c.wav" written \
            "$WORK/out/there.mpeg" failed | cmp -s - "$WORK/ends" || fail "json list --jobs $jobs: $(cat "$WORK/ends")"
        grep -q '"state":"converting"' "$WORK/stdout" || fail "json list --jobs $jobs: no converting record"
        grep -qF "2 fichier(s) écrit(s) sur 4." "$WORK/stderr" || fail "json list --jobs $jobs: no summary on stderr"
    done
    [ "$(cat "$WORK/out/there.mpeg")" = earlier ] || fail "json list: the existing output was replaced"

    # The conventions a script relies on.
    "$CLI" --formats >/dev/full 2>"$WORK/stderr" && fail "--formats > /dev/full: exit status 0"
    "$CLI" --lang=en --version >"$WORK/stdout" || fail "--version: exit status not 0"
    # A version has a dot: "4:3" from dvdauthor's usage is not one.
    for engine in "^transcoda-cli [0-9]+\." "^ffmpeg [0-9]+\." "^mpv [0-9]+\." "^dvdauthor [0-9]+\."; do
        grep -Eq "$engine" "$WORK/stdout" || fail "--version: no $engine in $(cat "$WORK/stdout")"
    done
    for args in "-f 3 - $WORK/out/x.mpeg" "-f 3 $FIXTURES/clip.avi -"; do
        # shellcheck disable=SC2086
        EXPECT_FAILURE=1 run_cli --lang en $args
        [ "$STATUS" -eq 2 ] || fail "'$args': exit status $STATUS, expected 2"
        grep -qF '"-" (standard input or output) is not accepted' "$WORK/stderr" || fail "'$args': $(cat "$WORK/stderr")"
    done
    [ ! -e ./- ] && [ ! -e "$WORK/out/x.mpeg" ] || fail "a file was written for -"
    check_clean "progress"
    ;;
killed)
    # A step killed from outside (the tool, then its engine) fails the request, the
    # message names the step, and the output of an earlier run stays as it was.
    make_long_clip
    echo "earlier hd.avi" >"$WORK/out/hd.avi"
    cp "$WORK/out/hd.avi" "$WORK/hd.kept"
    for target in "$WORK/prog/B/utilitymff3.exe .*1280x720" "^ffmpeg .*$WORK/long.avi.*1280x720"; do
        "$CLI" --lang EN -y -f 0 "$WORK/long.avi" "$WORK/out/hd.avi" >"$WORK/stdout" 2>"$WORK/stderr" &
        pid=$!
        for _ in $(seq 1 300); do
            pgrep -f "$target" >/dev/null && break
            sleep 0.1
        done
        pkill -KILL -f "$target" || fail "killed: nothing matched $target"
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq 1 ] || fail "killed ($target): exit status $status, expected 1"
        grep -qF 'failed at the step "picture encoding"' "$WORK/stderr" ||
            fail "killed ($target): the message does not name the step: $(cat "$WORK/stderr")"
        grep -qF "ended from outside by signal 9" "$WORK/stderr" || fail "killed ($target): no signal in the message"
        grep -qF "0 of 1 file(s) written." "$WORK/stderr" || fail "killed ($target): no summary"
        cmp -s "$WORK/out/hd.avi" "$WORK/hd.kept" || fail "killed ($target): the earlier output was changed"
        check_clean "killed ($target)"
    done
    # In a list converted two at once, the item whose tool is killed fails alone: the
    # other items are written, the summary names it, and the status is the list's.
    "$CLI" --lang EN --jobs 2 -y -f 0 "$WORK/long.avi" "$WORK/out/hd.avi" -f 34 "$FIXTURES/clip.mp3" \
        "$WORK/out/k.mp3" -f 36 "$FIXTURES/clip.flv" "$WORK/out/k.wav" >"$WORK/stdout" 2>"$WORK/stderr" &
    pid=$!
    target="$WORK/prog/B/utilitymff3.exe .*1280x720"
    for _ in $(seq 1 300); do
        pgrep -f "$target" >/dev/null && break
        sleep 0.1
    done
    pkill -KILL -f "$target" || fail "killed item: nothing matched $target"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 1 ] || fail "killed item: exit status $status, expected 1"
    grep -qF "  $WORK/long.avi" "$WORK/stderr" || fail "killed item: the summary does not name it: $(cat "$WORK/stderr")"
    grep -qF "2 of 3 file(s) written." "$WORK/stderr" || fail "killed item: wrong count"
    check_media "killed item: k.mp3" "$WORK/out/k.mp3" audio
    check_media "killed item: k.wav" "$WORK/out/k.wav" audio
    cmp -s "$WORK/out/hd.avi" "$WORK/hd.kept" || fail "killed item: the earlier output was changed"
    check_clean "killed item"
    ;;
refused)
    # A device node, a folder, the program's own tools and executable: refused before
    # anything runs, with the reason, and left as they were.
    mkdir -p "$WORK/out/folder.mpeg"
    cp "$WORK/prog/B/utilitymff3.exe" "$WORK/tool.kept"
    cp "$CLI" "$WORK/cli.kept"
    for output in /dev/null "$WORK/out/folder.mpeg" "$WORK/prog/B/utilitymff3.exe" "$CLI"; do
        for lang in EN FR; do
            EXPECT_FAILURE=1 run_cli --lang "$lang" -f 3 "$FIXTURES/clip.avi" "$output"
            [ "$STATUS" -eq 1 ] || fail "refused $output: exit status $STATUS"
            [ "$lang" = EN ] && says="The output file \"$output\" is refused: " ||
                says="Le fichier de sortie \"$output\" est refusé : "
            grep -qF "$says" "$WORK/stderr" || fail "refused $output ($lang): no refusal: $(head -3 "$WORK/stderr")"
        done
    done
    # An output that exists already, with no terminal to ask: refused unless -y, kept
    # with -n; in a list the other items go on.
    echo "earlier" >"$WORK/out/there.mpeg"
    for row in "EN::1:already exists: it is not replaced without -y" \
        "FR::1:existe déjà : il n'est pas remplacé sans -y" "EN:-n:0:already exists: it is kept as it is"; do
        IFS=: read -r lang flag expected says <<<"$row"
        # shellcheck disable=SC2086
        EXPECT_FAILURE=1 run_cli --lang "$lang" $flag -f 34 "$FIXTURES/clip.mp3" "$WORK/out/new$lang$flag.mp3" \
            -f 3 "$FIXTURES/clip.avi" "$WORK/out/there.mpeg"
        [ "$STATUS" -eq "$expected" ] || fail "existing ($lang $flag): exit status $STATUS, expected $expected"
        grep -qF "$says" "$WORK/stderr" || fail "existing ($lang $flag): no message: $(tail -3 "$WORK/stderr")"
        [ "$(cat "$WORK/out/there.mpeg")" = earlier ] || fail "existing ($lang $flag): the output was replaced"
        check_media "existing ($lang $flag): the other item" "$WORK/out/new$lang$flag.mp3" audio
    done
    run_cli --lang EN -y -f 3 "$FIXTURES/clip.avi" "$WORK/out/there.mpeg"
    [ "$STATUS" -eq 0 ] || fail "existing -y: exit status $STATUS"
    check_media "existing -y" "$WORK/out/there.mpeg" 640x480
    # A list file that is a device or a FIFO is refused, never read without end.
    mkfifo "$WORK/list.fifo"
    for list in /dev/zero "$WORK/list.fifo"; do
        STATUS=0
        timeout 60 "$CLI" --lang EN --list "$list" >"$WORK/stdout" 2>"$WORK/stderr" </dev/null || STATUS=$?
        [ "$STATUS" -eq 2 ] || fail "list $list: exit status $STATUS, expected 2"
        grep -qF "The list \"$list\" is not a regular file." "$WORK/stderr" || fail "list $list: no message"
    done
    [ -c /dev/null ] || fail "refused: /dev/null is no longer a device"
    [ -d "$WORK/out/folder.mpeg" ] && [ -z "$(ls -A "$WORK/out/folder.mpeg")" ] || fail "refused: the folder changed"
    cmp -s "$WORK/prog/B/utilitymff3.exe" "$WORK/tool.kept" || fail "refused: the tool changed"
    cmp -s "$CLI" "$WORK/cli.kept" || fail "refused: the program changed"
    check_clean "refused"
    ;;
untrue)
    # Pictures without sound work in every kind of video recipe: the HD AVI ones take
    # silence as their sound, the others write the picture alone or with silence.
    for row in 0:avi 1:avi 3:mpeg 9:flv 12:wmv 14:3gp 25:m4v 37:avi 33:dvd; do
        index=${row%%:*}
        output="$WORK/out/silent$index.${row#*:}"
        [ "$index" = 33 ] && output="$WORK/out/silent-dvd/"
        run_cli --lang EN -f "$index" "$FIXTURES/clip-silent.avi" "$output"
        [ "$STATUS" -eq 0 ] || { fail "silent $index: exit status $STATUS"; grep -E '^>>' "$WORK/stderr" >&2; }
        [ "$index" = 33 ] && output="$output/DVD-Disc1/VIDEO_TS/VTS_01_1.VOB"
        case $index in
            0|1) check_media "silent $index" "$output" video 2.5 ;;
            *) check_media "silent $index" "$output" video 2.5 optional ;;
        esac
        check_clean "silent $index"
    done
    # A segment that starts after the end of the input, and an input the engine cannot
    # read: refused before any step, no output.
    EXPECT_FAILURE=1 run_cli --lang EN -f 39 --from 00:00:05 --to 00:00:06 "$FIXTURES/clip.avi" "$WORK/out/late.avi"
    [ "$STATUS" -eq 1 ] || fail "late segment: exit status $STATUS"
    grep -qF "failed before it began: the segment to extract starts after the end of the input" "$WORK/stderr" ||
        fail "late segment: no message: $(grep -v '^|||' "$WORK/stderr" | tail -3)"
    [ ! -e "$WORK/out/late.avi" ] || fail "late segment: an output was written"
    head -c 20000 /dev/urandom >"$WORK/out/garbage.avi"
    EXPECT_FAILURE=1 run_cli --lang FR -f 3 "$WORK/out/garbage.avi" "$WORK/out/garbage.mpeg"
    [ "$STATUS" -eq 1 ] || fail "unreadable: exit status $STATUS"
    grep -qF "a échoué avant de commencer : le fichier d'entrée ne peut pas être lu" "$WORK/stderr" ||
        fail "unreadable: no message"
    [ ! -e "$WORK/out/garbage.mpeg" ] || fail "unreadable: an output was written"
    # A single frame without sound lasts 0 s in an ASF file: the HD AVI recipe's silence
    # must still end.
    ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=red:size=16x16:rate=25 -frames:v 1 \
        -c:v wmv2 "$WORK/out/one-frame.wmv"
    run_cli --lang EN -f 0 "$WORK/out/one-frame.wmv" "$WORK/out/one-frame-hd.avi"
    [ "$STATUS" -eq 0 ] || fail "one frame: exit status $STATUS"
    check_media "one frame" "$WORK/out/one-frame-hd.avi" 1280x720 0
    # Files whose streams hold no packet at all (recorded ones, when present): refused
    # before any step.
    corpus=${TRANSCODA_CORPUS:-/work/shared/corpus}
    for empty in "$corpus/minimal/AudioVideoInterleave.avi" "$corpus/minimal/WindowsMediaVideo.wmv"; do
        [ -f "$empty" ] || continue
        EXPECT_FAILURE=1 run_cli --lang EN -f 0 "$empty" "$WORK/out/empty.avi"
        [ "$STATUS" -eq 1 ] || fail "empty streams: exit status $STATUS"
        grep -qF "failed before it began: the input holds no picture and no sound to read" "$WORK/stderr" ||
            fail "empty streams $empty: no message: $(grep -v '^|||' "$WORK/stderr" | tail -3)"
        [ ! -e "$WORK/out/empty.avi" ] || fail "empty streams: an output was written"
    done
    check_clean "untrue"
    ;;
sound-only)
    # A sound-only input to video presets (a chained recipe, a one-step ffmpeg-style and
    # a mencoder-style one): the tools cannot make the picture, and that is said.
    for index in 0 25 12; do
        EXPECT_FAILURE=1 run_cli --lang EN -f "$index" "$FIXTURES/clip.wav" "$WORK/out/s$index.out"
        [ "$STATUS" -ne 0 ] || fail "sound-only $index: exit status 0"
        grep -qF "The conversion of \"$FIXTURES/clip.wav\" failed before it began: the input holds only sound" \
            "$WORK/stderr" || fail "sound-only $index: no failure message"
        [ ! -e "$WORK/out/s$index.out" ] || fail "sound-only $index: an output was written"
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
names)
    # Any name the file system takes converts: 255 bytes (some of them two-byte letters);
    # one byte more is refused before anything runs, in both languages.
    long=$(printf 'é%.0s' $(seq 1 60))$(printf 'n%.0s' $(seq 1 130))
    name="$long.mpeg"
    [ "$(printf '%s' "$name" | wc -c)" -eq 255 ] || fail "names: the long name is not 255 bytes"
    run_cli --lang EN -f 3 "$FIXTURES/clip.avi" "$WORK/out/$name"
    [ "$STATUS" -eq 0 ] || fail "names: 255 bytes: exit status $STATUS: $(tail -3 "$WORK/stderr")"
    check_media "names 255 bytes" "$WORK/out/$name" 640x480
    for lang in EN FR; do
        EXPECT_FAILURE=1 run_cli --lang "$lang" -f 3 "$FIXTURES/clip.avi" "$WORK/out/x$name"
        [ "$STATUS" -eq 1 ] || fail "names: 256 bytes ($lang): exit status $STATUS"
        [ "$lang" = EN ] && says="a name in its path is longer than 255 bytes" || says="un nom de son chemin dépasse 255 octets"
        grep -qF "$says" "$WORK/stderr" || fail "names: 256 bytes ($lang): $(head -3 "$WORK/stderr")"
    done
    [ ! -e "$WORK/out/x$name" ] || fail "names: the 256-byte name was written"

    # One file named twice, once through a linked folder: refused before anything runs.
    ln -s "$WORK/out" "$WORK/link"
    EXPECT_FAILURE=1 run_cli --lang EN -f 3 "$FIXTURES/clip.avi" "$WORK/out/twice.mpeg" \
        -f 4 "$FIXTURES/clip.wmv" "$WORK/link/twice.mpeg"
    [ "$STATUS" -ne 0 ] || fail "names: one output twice: accepted"
    grep -qF "($WORK/link/twice.mpeg)" "$WORK/stderr" || fail "names: one output twice: $(head -3 "$WORK/stderr")"
    [ ! -e "$WORK/out/twice.mpeg" ] || fail "names: one output twice: written"

    # No output named and a preset that keeps the extension: a free name beside the input.
    mkdir -p "$WORK/in"
    cp "$FIXTURES/clip.avi" "$WORK/in/clip.avi"
    for n in 1 2; do
        run_cli --lang EN -f 37 "$WORK/in/clip.avi"
        [ "$STATUS" -eq 0 ] || fail "default output $n: exit status $STATUS: $(tail -3 "$WORK/stderr")"
        check_media "default output $n" "$WORK/in/clip ($n).avi" 320x240
    done
    cmp -s "$FIXTURES/clip.avi" "$WORK/in/clip.avi" || fail "default output: the input changed"

    # A pipe given as input is refused as not a regular file, and never opened.
    mkfifo "$WORK/in/pipe.avi"
    for lang in EN FR; do
        EXPECT_FAILURE=1 run_cli --lang "$lang" -f 3 "$WORK/in/pipe.avi" "$WORK/out/pipe.mpeg"
        [ "$STATUS" -ne 0 ] || fail "pipe ($lang): accepted"
        [ "$lang" = EN ] && says="is not a regular file" || says="n'est pas un fichier ordinaire"
        grep -qF "$says" "$WORK/stderr" || fail "pipe ($lang): $(head -3 "$WORK/stderr")"
    done
    check_clean "names"
    ;;
full-disk)
    # A full disk is told in the user's words, naming the folder and not the hidden
    # temporary file; the tool's lines come as details. Needs a small tmpfs (root).
    mkdir -p "$WORK/full"
    if ! mount -t tmpfs -o size=256k tmpfs "$WORK/full" 2>/dev/null; then
        echo "no tmpfs can be mounted here: skipped"
        finish
        exit 0
    fi
    trap 'umount "$WORK/full" 2>/dev/null || true; rm -rf "$WORK"' EXIT
    for lang in EN FR; do
        # Without the diagnostic log, which names every file of every step.
        STATUS=0
        "$CLI" --lang "$lang" -f 3 "$FIXTURES/clip.avi" "$WORK/full/film.mpeg" >"$WORK/stdout" 2>"$WORK/stderr" </dev/null ||
            STATUS=$?
        [ "$STATUS" -eq 1 ] || fail "full disk ($lang): exit status $STATUS"
        [ "$lang" = EN ] && says="the disk that holds the folder \"$WORK/full\" is full" ||
            says="le disque qui contient le dossier \"$WORK/full\" est plein"
        grep -qF "$says" "$WORK/stderr" || fail "full disk ($lang): $(head -5 "$WORK/stderr")"
        grep -qF "No space left on device" "$WORK/stderr" || fail "full disk ($lang): the tool's lines are not given"
        ! grep -qF ".transcoda-" "$WORK/stderr" || fail "full disk ($lang): the temporary name is shown: $(grep -F .transcoda- "$WORK/stderr" | head -3)"
        [ -z "$(ls -A "$WORK/full")" ] || fail "full disk ($lang): left $(ls -A "$WORK/full")"
    done
    umount "$WORK/full"
    check_clean "full disk"
    ;;
*)
    echo "unknown scenario $TEST_NAME" >&2
    exit 2 ;;
esac
finish
