#!/usr/bin/env bash
# Starts the real program on a virtual X server and follows its windows as the X server
# sees them: the borderless 697x340 splash comes first, the main window only once the
# splash is gone, with its fixed size and its caption. How long the splash is held is
# printed here and measured in bench/gui/splash_hold.sh, not asserted.
# Usage: startup_under_xvfb.sh PATH/TO/transcoda
set -euo pipefail
APP=$1
if [[ "${2:-}" != "--inside" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$APP" --inside
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

"$SCRATCH/transcoda" &
PID=$!
splash_at=
main_at=
main_id=
splash_visible() { xwininfo -root -tree 2>/dev/null | grep -q ' 697x340+'; }
for _ in $(seq 1 2000); do
    if splash_visible; then splash_at=$(ms); break; fi
    sleep 0.01
done
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
[[ "$size" == "761x301" ]] || fail "main window client size is $size, not 761x301"
title=$(xdotool getwindowname "$main_id")
[[ "$title" == "Transcoda Media Converter 1.0 - "* ]] || fail "caption is '$title'"
kill -0 "$PID" || fail "the program ended by itself"
echo "OK: $title, $size"
exit 0
