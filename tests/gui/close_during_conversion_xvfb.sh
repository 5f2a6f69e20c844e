#!/usr/bin/env bash
# The real program on a virtual X server: a conversion is started with a click on the
# Convert picture, its tool hangs, and the Close picture is clicked. The program must end
# at once and cleanly, and take its running tool and its work folder along.
# Usage: close_during_conversion_xvfb.sh PATH/TO/transcoda HELPER_DIR FIXTURE_SCRIPT FIXTURE_DIR
set -euo pipefail
APP=$1 HELPERS=$2 FIXTURES_SH=$3 FIXTURES=$4
if [[ "${5:-}" != "--inside" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$APP" "$HELPERS" "$FIXTURES_SH" "$FIXTURES" --inside
fi
unset QT_QPA_PLATFORM

bash "$FIXTURES_SH" "$FIXTURES" >/dev/null
SCRATCH=$(mktemp -d)
# The user's folders are the test's own.
export XDG_CONFIG_HOME="$SCRATCH/config" XDG_RUNTIME_DIR="$SCRATCH/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
PID=
TOOL_PID=
cleanup() {
    [[ -n "$PID" ]] && kill -9 "$PID" 2>/dev/null || true
    [[ -n "$TOOL_PID" ]] && kill -9 "$TOOL_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$SCRATCH/B" "$SCRATCH/out"
cp "$APP" "$SCRATCH/transcoda"
for tool in "$HELPERS"/*; do ln -s "$tool" "$SCRATCH/B/$(basename "$tool")"; done
# The conversion tool of the MP3 preset hangs after noting its process id.
rm "$SCRATCH/B/utilitymff3.exe"
printf '#!/bin/sh\necho $$ > "%s/tool.pid"\nexec sleep 60\n' "$SCRATCH" >"$SCRATCH/B/utilitymff3.exe"
chmod +x "$SCRATCH/B/utilitymff3.exe"
mkdir -p "$XDG_CONFIG_HOME/transcoda"
cat >"$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini" <<INI
[Visual]
sourceFileName=$FIXTURES/clip.avi
destinationFileName=$SCRATCH/out/clip.mp3
destinationFormat=34
INI

"$SCRATCH/transcoda" &
PID=$!
WIN=
for _ in $(seq 1 200); do
    WIN=$(xdotool search --onlyvisible --name 'Transcoda Media Converter' 2>/dev/null | head -1 || true)
    [[ -n "$WIN" ]] && break
    sleep 0.05
done
[[ -n "$WIN" ]] || fail "the main window never appeared"
sleep 0.3

# Release on the Convert picture (Image4, 96x96 at 216,4).
xdotool mousemove --window "$WIN" 264 52 click 1
for _ in $(seq 1 300); do
    [[ -s "$SCRATCH/tool.pid" ]] && break
    sleep 0.05
done
[[ -s "$SCRATCH/tool.pid" ]] || fail "the conversion tool was never started"
TOOL_PID=$(cat "$SCRATCH/tool.pid")
sleep 0.3

# Release on the Close picture (Image7, 96x96 at 657,4).
start=$(date +%s%N)
xdotool mousemove --window "$WIN" 705 52 click 1
status=
for _ in $(seq 1 100); do
    if ! kill -0 "$PID" 2>/dev/null; then
        wait "$PID" && status=0 || status=$?
        break
    fi
    sleep 0.05
done
[[ -n "$status" ]] || fail "the program did not end within 5 s of Close"
elapsed=$((($(date +%s%N) - start) / 1000000))
PID=
[[ "$status" == 0 ]] || fail "the program ended with status $status"
for _ in $(seq 1 100); do
    kill -0 "$TOOL_PID" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$TOOL_PID" 2>/dev/null && fail "the running tool was left running"
TOOL_PID=
[[ -z "$(ls -A "$XDG_RUNTIME_DIR/transcoda")" ]] || fail "work folder left: $(ls "$XDG_RUNTIME_DIR/transcoda")"
echo "OK: ended in ${elapsed} ms with status 0, its tool ended"
exit 0
