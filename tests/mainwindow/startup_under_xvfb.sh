#!/usr/bin/env bash
# Starts the real program on a virtual X server and follows its windows as the X server
# sees them: the borderless 697x340 splash comes first, painted with its picture, the
# main window only once the splash is gone, with its fixed size and its caption. How long the splash is held is
# printed here and measured in bench/gui/splash_hold.sh, not asserted.
# Usage: startup_under_xvfb.sh PATH/TO/transcoda
set -euo pipefail
APP=$1
if [[ "${2:-}" != "--inside" ]]; then
    # From a display number of its own: two servers started at once from :99 (another
    # build's tests) may both take it, and the program then finds no display.
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" bash "$0" "$APP" --inside
fi
unset QT_QPA_PLATFORM

SCRATCH=$(mktemp -d)
# The user's folders are the test's own.
export XDG_CONFIG_HOME="$SCRATCH/config" XDG_CACHE_HOME="$SCRATCH/cache"
PID=
cleanup() {
    if [[ -n "$PID" ]]; then
        kill "$PID" 2>/dev/null || true
        wait "$PID" 2>/dev/null || true
    fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT
mkdir -p "$SCRATCH/B"
cp "$APP" "$SCRATCH/transcoda"

ms() { echo $(($(date +%s%N) / 1000000)); }
fail() { echo "FAIL: $*" >&2; exit 1; }

splash_id() { xwininfo -root -tree 2>/dev/null | awk '/ 697x340\+/ { print $1; exit }'; }
splash_visible() { [[ -n "$(splash_id)" ]]; }
# True once the splash on the screen shows the splash picture of its language (not black, not
# what lay under it).
PICTURES="$(cd "$(dirname "$0")/../../resources/splash" && pwd)"
PICTURE=
splash_painted() {
    local id difference
    id=$(splash_id)
    [[ -n "$id" ]] && import -window "$id" "$SCRATCH/splash.png" 2>/dev/null || return 1
    difference=$(compare -metric RMSE "$SCRATCH/splash.png" "$PICTURE" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    [[ -n "$difference" ]] && awk -v d="$difference" 'BEGIN { exit !(d < 0.05) }'
}

# The splash is painted before its hold at every start: watched over three starts, the
# picture is read from the screen for as long as the splash is up. The last start is on
# an English desktop, and its splash speaks English; it opens a file, named relative to
# the folder it starts in, as "Open with" does.
OPENED="$SCRATCH/clip ouvert.mkv"
echo "not a real clip" >"$OPENED"
for start in 1 2 3; do
    locale=C.UTF-8 PICTURE="$PICTURES/splash_fr.png"
    [[ $start == 3 ]] && locale=en_US.UTF-8 PICTURE="$PICTURES/splash_en.png"
    if [[ $start == 3 ]]; then
        (cd "$SCRATCH" && exec env -u LC_ALL -u LC_MESSAGES -u TRANSCODA_LANGUAGE LANG=$locale ./transcoda "clip ouvert.mkv") &
    else
        env -u LC_ALL -u LC_MESSAGES -u TRANSCODA_LANGUAGE LANG=$locale "$SCRATCH/transcoda" &
    fi
    PID=$!
    splash_at=
    for _ in $(seq 1 2000); do
        if splash_visible; then splash_at=$(ms); break; fi
        kill -0 "$PID" 2>/dev/null || fail "the program ended before its splash showed (start $start)"
        sleep 0.01
    done
    [[ -n "$splash_at" ]] || fail "no 697x340 splash window was seen (start $start)"
    painted=
    while splash_visible; do
        if splash_painted; then painted=yes; break; fi
        sleep 0.05
    done
    [[ -n "$painted" ]] || fail "the splash stayed black (start $start)"
    [[ $start == 3 ]] && break
    kill "$PID"
    wait "$PID" 2>/dev/null || true
done
echo "the splash was painted at each of 3 starts"
main_at=
main_id=
for _ in $(seq 1 1000); do
    main_id=$(xdotool search --onlyvisible --name 'Transcoda Media Converter' 2>/dev/null | head -1 || true)
    if [[ -n "$main_id" ]]; then main_at=$(ms); break; fi
    sleep 0.02
done
[[ -n "$splash_at" ]] || fail "no 697x340 splash window was seen"
[[ -n "$main_at" ]] || fail "the main window never became visible"
echo "splash seen, main window visible $((main_at - splash_at)) ms later"
if splash_visible; then fail "the splash is still there"; fi

size=$(xwininfo -id "$main_id" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[[ "$size" == "761x341" ]] || fail "main window client size is $size, not 761x341"
title=$(xdotool getwindowname "$main_id")
[[ "$title" == "Transcoda Media Converter 1.0 - "* ]] || fail "caption is '$title'"
kill -0 "$PID" || fail "the program ended by itself"
# The opened file is the input, as a pick makes it: kept in the preferences.
PREFS="$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini"
for _ in $(seq 1 250); do
    grep -qxF "sourceFileName=$OPENED" "$PREFS" 2>/dev/null && break
    sleep 0.02
done
grep -qxF "sourceFileName=$OPENED" "$PREFS" 2>/dev/null || fail "the file it was opened with is not the input"
echo "OK: $title, $size"
exit 0
