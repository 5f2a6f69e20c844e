#!/usr/bin/env bash
# Renders the desktop application on a virtual X server and saves PNG pictures of its
# windows into BUILD/screenshots/:
#   splash.png                 the splash window on a French desktop; splash_en.png on
#                              an English one (LANG=en_US.UTF-8)
#   main_collapsed.png         the main window as it opens, list hidden
#   main_expanded.png          after a click on "Afficher la liste"
#   main_expanded_debug.png    the same with TRANSCODA_DEBUG=1 (log area shown)
#   main_english.png           TRANSCODA_LANGUAGE=EN, list hidden
#   main_english_expanded.png  TRANSCODA_LANGUAGE=EN, list shown
#   main_list_statuses.png     a kept list of three rows: one done, one failed, one waiting;
#                              main_list_statuses_en.png the same list in English (its
#                              failure's reason was kept in French)
#   language_menu.png          the menu of a right click with its Language submenu open,
#                              in French; language_menu_en.png in English
#   main_converting.png        a conversion under way (its progress, and the time left
#                              beside it), in French; main_converting_en.png in English
#   main_finished.png          the same conversion once ended (the written file named)
#   sync_preview.png           the whole screen: the sync dialog with the preview player
#                              playing beside it
#   sync_dialog_en.png         the sync dialog in English
#   extraction_dialog.png      the extraction dialog in French; extraction_dialog_en.png
#   main_scale2.png            the main window at QT_SCALE_FACTOR=2, list shown;
#                              main_scale2_en.png in English
#
# Every picture but the scale-2 ones is taken on a 1366x768 screen, the smallest the
# layouts are made for; the scale-2 ones on a 1920x1200 screen.
#
# Usage: scripts/screenshots.sh [BUILD]   (BUILD defaults to "build"; `make screenshots`)
#
# The program runs from a copy in a scratch folder with a preferences file of its own, so
# the pictures always show the same paths and the real B/ folder is never touched.
set -euo pipefail

BUILD=${1:-build}

if [[ "${2:-}" != "--inside" && "${2:-}" != "--scale2" ]]; then
    for tool in xvfb-run xdotool xwininfo import ffmpeg; do
        command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (make deps)" >&2; exit 1; }
    done
    [[ -x "$BUILD/bin/transcoda" ]] || { echo "screenshots: $BUILD/bin/transcoda is not built" >&2; exit 1; }
    xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1366x768x24 -nolisten tcp" bash "$0" "$BUILD" --inside
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1920x1200x24 -nolisten tcp" bash "$0" "$BUILD" --scale2
fi
PART=$2

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
# The helper tools, for the pictures that convert or preview.
cp -a "$BUILD/bin/B/." "$SCRATCH/B/"

# When set, KEPT_LIST is written after the section Visual: the list the window restores.
KEPT_LIST=
# write_preferences [INPUT [OUTPUT [FORMAT]]]
write_preferences() {
    cat >"$XDG_CONFIG_HOME/transcoda/applicationUserPreferences.ini" <<EOF
[Visual]
sourceFileName=${1:-/home/user/Vidéos/vacances-2026.mp4}
destinationFileName=${2:-/home/user/Vidéos/vacances-2026.avi}
destinationFormat=${3:-0}
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
    env "$@" "$SCRATCH/transcoda" >/dev/null 2>>"$SCRATCH/app.err" &
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

named_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1
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

# Clicks "Afficher la liste" / "Show list" (showQueue: 196 x 25 at 336, 56 on the panel)
# and waits for the window to grow. At scale 2 every position doubles.
expand_list() {
    local wid=$1 scale=$2 before
    before=$(window_height "$wid")
    xdotool mousemove --window "$wid" $((434 * scale)) $((68 * scale)) click 1
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

# shot_main FILE no|yes|statuses [SCALE] [VARIABLE=VALUE ...]; "statuses" also scrolls the list.
shot_main() {
    local file=$1 expand=$2 scale=1
    shift 2
    [[ "${1:-}" =~ ^[0-9]+$ ]] && { scale=$1; shift; }
    write_preferences
    start_app QT_SCALE_FACTOR=$scale "$@"
    local wid
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; tail -5 "$SCRATCH/app.err" >&2; exit 1; }
    if [[ "$expand" != no ]]; then
        sleep 0.3
        expand_list "$wid" "$scale"
    fi
    [[ "$expand" == statuses ]] && scroll_list_right "$wid"
    capture "$wid" "$file"
    stop_app
}

# The progress in front of the caption while a tool runs: 45 of "45.20% - Transcoda ...".
title_percent() {
    xdotool getwindowname "$1" 2>/dev/null | sed -n 's/^\([0-9][0-9]*\)[.,]*[0-9]* *%.*Media Converter.*/\1/p'
}

# Waits until the window's title shows at least $2 percent, for at most $3 tenths of a second.
wait_percent() {
    local p
    for ((i = 0; i < $3; i++)); do
        p=$(title_percent "$1")
        [[ -n "$p" && "$p" -ge "$2" ]] && return 0
        sleep 0.1
    done
    echo "screenshots: the conversion did not reach $2 %" >&2
    return 1
}

# Clicks the Convert picture (convertStopPicture: 96 x 96 at 216, 4).
press_convert() {
    xdotool mousemove --window "$1" 264 52 click 1
}

# A clip long enough to be seen converting, in the user's videos folder.
VIDEOS="$SCRATCH/Vidéos"
CLIP="$VIDEOS/vacances-2026.mp4"
make_clip() {
    mkdir -p "$VIDEOS"
    [[ -s "$CLIP" ]] || ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "testsrc2=size=640x360:rate=25:duration=90" -f lavfi -i "sine=frequency=440:duration=90" \
        -map 0:v -map 1:a -c:v libx264 -preset veryfast -c:a aac -shortest "$CLIP"
}

# shot_converting LANGUAGE FILE: a conversion under way and, in French, the same once
# it has ended; in English it is stopped.
shot_converting() {
    local language=$1 file=$2 wid
    make_clip
    rm -f "$VIDEOS/vacances-2026.avi"
    write_preferences "$CLIP" "$VIDEOS/vacances-2026.avi" 0
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; tail -5 "$SCRATCH/app.err" >&2; exit 1; }
    sleep 0.3
    press_convert "$wid"
    # A fifth of the way in, the time left can be told; one more step of the progress
    # lets the window's texts catch up with its title.
    wait_percent "$wid" 20 1200
    local seen
    seen=$(xdotool getwindowname "$wid")
    for ((i = 0; i < 50; i++)); do
        [[ "$(xdotool getwindowname "$wid")" != "$seen" ]] && break
        sleep 0.1
    done
    capture "$wid" "$file"
    if [[ "$language" == FR ]]; then
        for ((i = 0; i < 1800; i++)); do
            [[ -z "$(title_percent "$wid")" && -s "$VIDEOS/vacances-2026.avi" ]] && break
            sleep 0.1
        done
        capture "$wid" main_finished.png
    else
        press_convert "$wid"   # Stop
        for ((i = 0; i < 100; i++)); do
            [[ -z "$(title_percent "$wid")" ]] && break
            sleep 0.1
        done
    fi
    stop_app
}

# shot_sync LANGUAGE FILE: the sync dialog; in French with the preview player playing
# beside it, the whole screen.
shot_sync() {
    local language=$1 file=$2 title wid dlg
    make_clip
    write_preferences "$CLIP" "$VIDEOS/vacances-2026-synchro.mp4" 38
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; tail -5 "$SCRATCH/app.err" >&2; exit 1; }
    sleep 0.3
    press_convert "$wid"
    title="Correction and Synchronization"
    [[ "$language" == FR ]] && title="Correction et Synchronisation"
    dlg=$(wait_for 100 named_window "$title") || { echo "screenshots: no sync dialog" >&2; exit 1; }
    if [[ "$language" == FR ]]; then
        # chooseInput, the preview: 404 x 25 at 205, 141.
        sleep 0.3
        xdotool mousemove --window "$dlg" 407 153 click 1
        wait_for 200 named_window "Transcoda - vacances" >/dev/null ||
            { echo "screenshots: no player window" >&2; exit 1; }
        sleep 1.5
        import -window root "$OUT/$file"
        echo "screenshots: $OUT/$file"
        xdotool mousemove --window "$dlg" 407 153 click 1   # Stop
        sleep 0.5
    else
        capture "$dlg" "$file"
    fi
    stop_app
}

# shot_extraction LANGUAGE FILE: the extraction dialog.
shot_extraction() {
    local language=$1 file=$2 title wid dlg
    make_clip
    write_preferences "$CLIP" "$VIDEOS/vacances-2026-extrait.mp4" 39
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; tail -5 "$SCRATCH/app.err" >&2; exit 1; }
    sleep 0.3
    press_convert "$wid"
    title="Extract a part"
    [[ "$language" == FR ]] && title="Extraction de partie"
    dlg=$(wait_for 100 named_window "$title") || { echo "screenshots: no extraction dialog" >&2; exit 1; }
    capture "$dlg" "$file"
    stop_app
}

if [[ "$PART" == --scale2 ]]; then
    shot_main main_scale2.png yes 2
    shot_main main_scale2_en.png yes 2 TRANSCODA_LANGUAGE=EN
    exit 0
fi

# The splash is up for two seconds while the windows are created, in the desktop's language.
for locale in C.UTF-8:splash.png en_US.UTF-8:splash_en.png; do
    write_preferences
    start_app LANG="${locale%%:*}"
    wid=$(wait_for 100 window_of_size 697x340) || { echo "screenshots: no splash window" >&2; exit 1; }
    capture "$wid" "${locale#*:}"
    stop_app
done

# shot_language_menu FR|EN FILE: a right click on the window's background, then the pointer
# on the Language submenu; the menus are windows of their own, so the screen is taken,
# cut to the window and the menus beside it.
shot_language_menu() {
    local language=$1 file=$2
    write_preferences
    start_app TRANSCODA_LANGUAGE="$language"
    local wid
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.5
    # The panel's empty middle, right of the Convert picture.
    xdotool mousemove --window "$wid" 420 20 click 3
    sleep 0.5
    # The second entry of the menu: the Language submenu.
    xdotool mousemove_relative 30 35
    sleep 0.8
    local X Y HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$wid" | grep -E '^(X|Y|HEIGHT)=')"
    import -window root -crop "800x${HEIGHT}+${X}+${Y}" +repage "$OUT/$file"
    echo "screenshots: $OUT/$file"
    stop_app
}

shot_main main_collapsed.png no
shot_main main_expanded.png yes
shot_main main_expanded_debug.png yes TRANSCODA_DEBUG=1
shot_main main_english.png no TRANSCODA_LANGUAGE=EN
shot_main main_english_expanded.png yes TRANSCODA_LANGUAGE=EN
shot_converting FR main_converting.png
shot_converting EN main_converting_en.png
shot_sync FR sync_preview.png
shot_sync EN sync_dialog_en.png
shot_extraction FR extraction_dialog.png
shot_extraction EN extraction_dialog_en.png

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
shot_main main_list_statuses_en.png statuses TRANSCODA_LANGUAGE=EN
shot_language_menu FR language_menu.png
shot_language_menu EN language_menu_en.png
