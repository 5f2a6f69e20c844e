#!/usr/bin/env bash
# A system-wide install: the program folder belongs to root and its user cannot write a
# thing in it. The terminal front end and the window (on a virtual X server) each
# convert a clip as that user, whose preferences, once kept beside the program, are taken
# over from there.
# Usage: read_only_install.sh BIN_DIR FIXTURE_SCRIPT FIXTURE_DIR
# Exits 77 (skipped) when the test cannot run as another user.
set -euo pipefail
BIN=$1 FIXTURES_SH=$2 FIXTURES=$3
USER_ID=65534
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/x_window.sh"

if [[ "${4:-}" == "--window" ]]; then
    # As the user, on the virtual X server: convert with a click, then close.
    PROG=$5 OUT=$6
    unset QT_QPA_PLATFORM
    "$PROG/transcoda" &
    PID=$!
    trap 'kill -9 "$PID" 2>/dev/null || true' EXIT
    WIN=$(main_window) || fail "window: the main window never appeared"
    # Release on the Convert picture (convertStopPicture, 96x96 at 216,4).
    pointer_over "$WIN" 264 52 || fail "window: the pointer never got over the Convert picture"
    xdotool click 1
    # Done once the output is there and no tool of the program has run for a second.
    idle=0
    for _ in $(seq 1 600); do
        if [[ -s "$OUT" ]] && ! pgrep -f "$PROG/B/" >/dev/null; then
            idle=$((idle + 1))
            ((idle >= 10)) && break
        else
            idle=0
        fi
        sleep 0.1
    done
    ((idle >= 10)) || fail "window: the conversion did not end with an output"
    # Release on the Close picture (closePicture, 96x96 at 657,4).
    xdotool mousemove --window "$WIN" 705 52 click 1
    for _ in $(seq 1 100); do
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.05
    done
    status=0
    wait "$PID" || status=$?
    trap - EXIT
    [[ "$status" == 0 ]] || fail "window: the program ended with status $status"
    exit 0
fi

if [[ "$(id -u)" != 0 ]] || ! command -v setpriv >/dev/null || ! command -v xvfb-run >/dev/null ||
    ! command -v xdotool >/dev/null; then
    echo "SKIP: needs root, setpriv, xvfb-run and xdotool to run the program as another user"
    exit 77
fi

bash "$FIXTURES_SH" "$FIXTURES" >/dev/null
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
chmod 755 "$SCRATCH"
PROG=$SCRATCH/prog U=$SCRATCH/user
mkdir -p "$PROG/B" "$U/home" "$U/config" "$U/cache" "$U/run" "$U/out"
cp "$BIN/transcoda" "$BIN/transcoda-cli" "$PROG/"
cp "$BIN"/B/utility* "$PROG/B/"
cp "$FIXTURES/clip.avi" "$U/clip.avi"
# Preferences as earlier versions kept them, beside the program.
cat >"$PROG/B/applicationUserPreferences.ini" <<INI
[Visual]
sourceFileName=$U/clip.avi
destinationFileName=$U/out/window.mpeg
destinationFormat=3
INI
chown -R root:root "$PROG"
chmod -R a-w "$PROG"
chown -R "$USER_ID:$USER_ID" "$U"
chmod 700 "$U/run"
BEFORE=$(cd "$PROG" && find . -printf '%p %s %T@\n' | sort)

as_user() {
    setpriv --reuid="$USER_ID" --regid="$USER_ID" --clear-groups \
        env -i PATH="$PATH" HOME="$U/home" XDG_CONFIG_HOME="$U/config" XDG_CACHE_HOME="$U/cache" \
        XDG_RUNTIME_DIR="$U/run" "$@"
}
if as_user touch "$PROG/B/probe" 2>/dev/null; then fail "the user can write the program folder"; fi

# The terminal front end, with a preset whose steps chain through intermediates.
status=0
as_user "$PROG/transcoda-cli" --lang EN -f 0 "$U/clip.avi" "$U/out/cli.avi" >"$SCRATCH/cli.out" 2>&1 || status=$?
[[ "$status" == 0 ]] || { cat "$SCRATCH/cli.out" >&2; fail "cli: exit status $status"; }
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$U/out/cli.avi" 2>/dev/null || true)
awk -v d="$duration" 'BEGIN { exit !(d + 0 >= 2.5) }' || fail "cli: output lasts '$duration' s"

# The window.
as_user xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    bash "$0" "$BIN" "$FIXTURES_SH" "$FIXTURES" --window "$PROG" "$U/out/window.mpeg" ||
    fail "window: see above"
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$U/out/window.mpeg" 2>/dev/null || true)
awk -v d="$duration" 'BEGIN { exit !(d + 0 >= 2.5) }' || fail "window: output lasts '$duration' s"
grep -q '^destinationFormat=3' "$U/config/transcoda/applicationUserPreferences.ini" ||
    fail "window: the preferences were not taken over into the config folder"

[[ "$(cd "$PROG" && find . -printf '%p %s %T@\n' | sort)" == "$BEFORE" ]] || fail "the program folder changed"
[[ -z "$(ls -A "$U/run/transcoda")" ]] || fail "work folders left: $(ls "$U/run/transcoda")"
echo "OK: both front ends converted as uid $USER_ID with a read-only program folder"
