#!/usr/bin/env bash
# The real program on a virtual X server: an HD AVI conversion is started with a click on
# the Convert picture; its sound step runs the real tool beside the picture step and
# leaves an intermediate, its picture step hangs. A click on the Close picture asks whether to stop and quit:
# - answered No (Escape), the program, its tool and the conversion go on;
# - answered Yes (Return), the program ends at once and cleanly, its tool is ended and
#   no intermediate is left.
# With END_BY=<signal> the program is sent that signal instead of the click on Close.
# Usage: close_during_conversion_xvfb.sh PATH/TO/transcoda HELPER_DIR FIXTURE_SCRIPT FIXTURE_DIR
set -euo pipefail
APP=$1 HELPERS=$2 FIXTURES_SH=$3 FIXTURES=$4
if [[ "${5:-}" != "--inside" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" bash "$0" "$APP" "$HELPERS" "$FIXTURES_SH" "$FIXTURES" --inside
fi
unset QT_QPA_PLATFORM

bash "$FIXTURES_SH" "$FIXTURES" >/dev/null
SCRATCH=$(mktemp -d)
PID=
TOOL_PID=
cleanup() {
    [[ -n "$PID" ]] && kill -9 "$PID" 2>/dev/null || true
    [[ -n "$TOOL_PID" ]] && kill -9 "$TOOL_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/x_window.sh"

# Everything the program writes stays in the scratch folder: its program folder, the
# user's folders, the output.
mkdir -p "$SCRATCH/prog/B" "$SCRATCH/out" "$SCRATCH/home" "$SCRATCH/run"
chmod 700 "$SCRATCH/run"
export HOME=$SCRATCH/home XDG_RUNTIME_DIR=$SCRATCH/run XDG_CACHE_HOME=$SCRATCH/home/.cache \
    XDG_CONFIG_HOME=$SCRATCH/home/.config
cp "$APP" "$SCRATCH/prog/transcoda"
for tool in "$HELPERS"/*; do ln -s "$tool" "$SCRATCH/prog/B/$(basename "$tool")"; done
# The tool of both steps: the real one for the sound step (its output is an .mp3), one
# that notes its process id and hangs for the picture step.
rm "$SCRATCH/prog/B/utilitymff3.exe"
cat >"$SCRATCH/prog/B/utilitymff3.exe" <<TOOL
#!/bin/sh
for last; do :; done
case "\$last" in *.mp3) exec "$HELPERS/utilitymff3.exe" "\$@";; esac
echo \$\$ > "$SCRATCH/tool.pid"
exec sleep 60
TOOL
chmod +x "$SCRATCH/prog/B/utilitymff3.exe"
mkdir -p "$XDG_CONFIG_HOME/transcoda"
cat >"$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini" <<INI
[Visual]
sourceFileName=$FIXTURES/clip.avi
destinationFileName=$SCRATCH/out/clip.avi
destinationFormat=0
INI
intermediates() { find "$SCRATCH" -name 'tmp[0-9][0-9][0-9][0-9]*' -printf '%f ' 2>/dev/null; }

"$SCRATCH/prog/transcoda" &
PID=$!
WIN=$(main_window) || fail "the main window never appeared"

# Release on the Convert picture (convertStopPicture, 96x96 at 216,4).
pointer_over "$WIN" 264 52 || fail "the pointer never got over the Convert picture"
xdotool click 1
for _ in $(seq 1 600); do
    [[ -s "$SCRATCH/tool.pid" ]] && break
    sleep 0.05
done
[[ -s "$SCRATCH/tool.pid" ]] || fail "the picture step was never started"
TOOL_PID=$(cat "$SCRATCH/tool.pid")
# The sound is extracted beside the picture: its intermediate comes when it does.
for _ in $(seq 1 200); do
    [[ -n "$(intermediates)" ]] && break
    sleep 0.05
done
[[ -n "$(intermediates)" ]] || fail "the sound step left no intermediate"

# Waits up to TRIES x 50 ms for the program to end; sets `status` to its exit status,
# or leaves it empty when it is still running.
wait_for_end() {
    status=
    for _ in $(seq 1 "$1"); do
        if ! kill -0 "$PID" 2>/dev/null; then
            wait "$PID" && status=0 || status=$?
            return
        fi
        sleep 0.05
    done
}
# Waits up to 5 s for the tool to end.
wait_for_tool_end() {
    for _ in $(seq 1 100); do
        kill -0 "$TOOL_PID" 2>/dev/null || return 0
        sleep 0.05
    done
}

# Ended by a signal instead (END_BY=HUP, TERM ...: the session ends, the terminal that
# started it closes): the conversion stops as with Stop, and the program ends with 128 +
# the signal, its tool, intermediates and work folder gone, without a question.
if [[ -n "${END_BY:-}" ]]; then
    kill -"$END_BY" "$PID"
    wait_for_end 300
    [[ -n "$status" ]] || fail "the program did not end within 15 s of SIG$END_BY"
    PID=
    expected=$((128 + $(kill -l "$END_BY")))
    [[ "$status" == "$expected" ]] || fail "SIG$END_BY: the program ended with status $status, expected $expected"
    wait_for_tool_end
    kill -0 "$TOOL_PID" 2>/dev/null && fail "SIG$END_BY: the running tool was left running"
    TOOL_PID=
    [[ -z "$(ls -A "$XDG_RUNTIME_DIR/transcoda" 2>/dev/null)" ]] || fail "SIG$END_BY: work folder left"
    [[ -z "$(intermediates)" ]] || fail "SIG$END_BY: intermediates left: $(intermediates)"
    [[ -z "$(find "$SCRATCH/out" -name '.*.transcoda-*')" ]] || fail "SIG$END_BY: a temporary output is left"
    echo "OK: SIG$END_BY ended the program with status $status, tool, intermediates and work folder gone"
    exit 0
fi

# Release on the Close picture (closePicture, 96x96 at 657,4), then the answer to the question.
close_and_answer() {
    local key=$1 box=
    pointer_over "$WIN" 705 52 || fail "the pointer never got over the Close picture"
    xdotool click 1
    for _ in $(seq 1 100); do
        box=$(xdotool search --onlyvisible --name '^Confirmation$' 2>/dev/null | head -1 || true)
        [[ -n "$box" ]] && break
        sleep 0.05
    done
    [[ -n "$box" ]] || fail "closing during the conversion asked nothing"
    focus_on "$box" || fail "the question never got the keyboard"
    xdotool key --clearmodifiers "$key"
}

close_and_answer Escape
# Once the question has gone, the answer has been acted on: No keeps program and tool.
question_open() { [[ -n "$(xdotool search --onlyvisible --name '^Confirmation$' 2>/dev/null || true)" ]]; }
for _ in $(seq 1 100); do
    question_open || break
    sleep 0.05
done
question_open && fail "the question stayed open"
kill -0 "$PID" 2>/dev/null || fail "the program ended although the user answered No"
kill -0 "$TOOL_PID" 2>/dev/null || fail "the tool was stopped although the user answered No"

start=$(date +%s%N)
close_and_answer Return
wait_for_end 200
[[ -n "$status" ]] || fail "the program did not end within 10 s of Yes"
elapsed=$((($(date +%s%N) - start) / 1000000))
PID=
[[ "$status" == 0 ]] || fail "the program ended with status $status"
wait_for_tool_end
kill -0 "$TOOL_PID" 2>/dev/null && fail "the running tool was left running"
TOOL_PID=
[[ -z "$(ls -A "$XDG_RUNTIME_DIR/transcoda" 2>/dev/null)" ]] || fail "work folder left: $(ls "$XDG_RUNTIME_DIR/transcoda")"
left=$(intermediates)
[[ -z "$left" ]] || fail "intermediates left: $left"
echo "OK: No kept the conversion; Yes ended the program in ${elapsed} ms with status 0, tool, intermediates and work folder gone"
exit 0
