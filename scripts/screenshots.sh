#!/usr/bin/env bash
# Renders the desktop application on a virtual X server and saves PNG pictures of its
# windows into BUILD/screenshots/:
#   splash.png                 the splash window (French, as always at start-up)
#   main_collapsed.png         the main window as it opens, list hidden
#   main_expanded.png          after a click on "Afficher la liste"
#   main_expanded_debug.png    the same with TRANSCODA_DEBUG=1 (log area shown)
#   main_english.png           TRANSCODA_LANGUAGE=EN, list hidden
#   main_english_expanded.png  TRANSCODA_LANGUAGE=EN, list shown
#   main_list_statuses.png     a kept list of three rows: one done, one failed, one waiting
#
# Usage: scripts/screenshots.sh [BUILD]   (BUILD defaults to "build"; `make screenshots`)
#
# The program runs from a copy in a scratch folder with a preferences file of its own, so
# the pictures always show the same paths and the real B/ folder is never touched.
set -euo pipefail

BUILD=${1:-build}

if [[ "${2:-}" != "--inside" ]]; then
    for tool in xvfb-run xdotool xwininfo import; do
        command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (make deps)" >&2; exit 1; }
    done
    [[ -x "$BUILD/bin/transcoda" ]] || { echo "screenshots: $BUILD/bin/transcoda is not built" >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$BUILD" --inside
fi

OUT="$BUILD/screenshots"
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

SCRATCH=$(mktemp -d)
APP_PID=
cleanup() {
    if [[ -n "$APP_PID" ]] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

mkdir -p "$SCRATCH/B" "$SCRATCH/MyFiles"
# The user's folders are the script's own.
export XDG_CONFIG_HOME="$SCRATCH/config" XDG_CACHE_HOME="$SCRATCH/cache"
mkdir -p "$XDG_CONFIG_HOME/transcoda"
cp "$BUILD/bin/transcoda" "$SCRATCH/transcoda"

# When set, KEPT_LIST is written after the section Visual: the list the window restores.
KEPT_LIST=
write_preferences() {
    cat >"$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini" <<'EOF'
[Visual]
sourceFileName=/home/user/Vidéos/vacances-2026.mp4
destinationFileName=/home/user/Vidéos/vacances-2026.avi
destinationFormat=0
EOF
    printf '%s\n' "$KEPT_LIST" >>"$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini"
}

# Waits until the given command prints something, for at most $1 tenths of a second.
wait_for() {
    local tenths=$1
    shift
    local out
    for ((i = 0; i < tenths; i++)); do
        out=$("$@" 2>/dev/null || true)
        if [[ -n "$out" ]]; then
            echo "$out"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

start_app() {
    write_preferences
    env "$@" "$SCRATCH/transcoda" >/dev/null 2>&1 &
    APP_PID=$!
}

stop_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

# The id of the mapped top-level window of the given size, or nothing.
window_of_size() {
    xwininfo -root -children | awk -v size="$1" '$0 ~ ("[^0-9]" size "\\+") { print $1; exit }'
}

main_window() {
    xdotool search --onlyvisible --name 'Media Converter' 2>/dev/null | head -n1
}

window_height() {
    xwininfo -id "$1" | awk '/Height:/ { print $2 }'
}

capture() {
    # let the window finish painting
    sleep 0.6
    import -window "$1" "$OUT/$2"
    echo "screenshots: $OUT/$2"
}

# Clicks "Afficher la liste" / "Show list" (Button12: 196 x 25 at 336, 56 on the panel)
# and waits for the window to grow.
expand_list() {
    local wid=$1 before
    before=$(window_height "$wid")
    xdotool mousemove --window "$wid" 434 68 click 1
    for ((i = 0; i < 50; i++)); do
        [[ "$(window_height "$wid")" != "$before" ]] && return 0
        sleep 0.1
    done
    echo "screenshots: the list did not open (window height stayed $before)" >&2
    return 1
}

# The status column stands after the wide output column: two clicks in the right end of
# the grid's horizontal scroll bar (the grid is 715 x 108 at 8, 318) bring it into view.
scroll_list_right() {
    xdotool mousemove --window "$1" 690 418 click 1 click 1
}

# Usage: shot_main FILE no|yes|statuses [VAR=value ...]; "statuses" also scrolls the list.
shot_main() {
    local file=$1 expand=$2
    shift 2
    start_app "$@"
    local wid
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    if [[ "$expand" != no ]]; then
        sleep 0.3
        expand_list "$wid"
    fi
    [[ "$expand" == statuses ]] && scroll_list_right "$wid"
    capture "$wid" "$file"
    stop_app
}

# The splash is up for two seconds while the windows are created.
start_app
wid=$(wait_for 100 window_of_size 697x340) || { echo "screenshots: no splash window" >&2; exit 1; }
capture "$wid" splash.png
stop_app

shot_main main_collapsed.png no
shot_main main_expanded.png yes
shot_main main_expanded_debug.png yes TRANSCODA_DEBUG=1
shot_main main_english.png no TRANSCODA_LANGUAGE=EN
shot_main main_english_expanded.png yes TRANSCODA_LANGUAGE=EN

KEPT_LIST=$(
    cat <<'EOF'
[List]
item1.format=" Audio MP3 - MP3; Audio (128kbps)"
item1.input=/home/user/Vidéos/vacances-2026.mp4
item1.output=/home/user/Vidéos/vacances-2026.mp3
item1.status=done
item2.format=" Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)"
item2.input=/home/user/Musique/concert.wav
item2.output=/home/user/Musique/concert.mpeg
item2.status=failed
item2.reason=" avant de commencer : le fichier d'entrée ne contient que du son, et ce format de sortie demande une image"
item3.format=" Video HD Ready - AVI 1280x720 (MPEG4/DivX/XviD, 4500 kbps) ; MP3(192kbps)"
item3.input=/home/user/Vidéos/anniversaire.mkv
item3.output=/home/user/Vidéos/anniversaire.avi
item3.status=waiting
EOF
)
shot_main main_list_statuses.png statuses
