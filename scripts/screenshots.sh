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
#   input_dialog.png           the input file dialog showing every file ("Tous les
#                              fichiers"), in French; input_dialog_en.png in English
#   main_opened_with.png       the window opened with a file (the output follows it), in
#                              French; main_opened_with_en.png in English
#   main_scale2.png            the main window at QT_SCALE_FACTOR=2, list shown;
#                              main_scale2_en.png in English
#   about.png                  the About window; about_en.png in English
#   main_larger.png            the window made larger by the user, a kept list in it;
#                              main_larger_en.png in English
#   main_list_progress.png     a list converting, its running row showing its own
#                              progress; main_list_progress_en.png in English
#   list_failures.png          the summary of a list's failed items, its Details open;
#                              list_failures_en.png in English
#   items_at_once_menu.png     the menu of a right click with its "Conversions simultanées"
#                              submenu open, 2 checked; items_at_once_menu_en.png in English
#   main_list_at_once.png      a list converting two items at once, each running row with
#                              its own progress, the progress part the list's as a whole;
#                              main_list_at_once_en.png in English
#   main_facts.png             a 1080p input's facts, the estimate and its still under
#                              the input field, in French; main_facts_en.png in English;
#                              main_facts_scale2.png, main_facts_scale2_en.png at scale 2
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
    xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1366x768x24 -nolisten tcp -noreset" bash "$0" "$BUILD" --inside
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1920x1200x24 -nolisten tcp -noreset" bash "$0" "$BUILD" --scale2
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

# The files the program is opened with, as the desktop's "Open with" gives them.
APP_FILES=()
start_app() {
    env "$@" "$SCRATCH/transcoda" "${APP_FILES[@]}" >/dev/null 2>>"$SCRATCH/app.err" &
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

# shot_main FILE no|yes|statuses [SCALE] [VARIABLE=VALUE ...]
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

# shot_facts LANGUAGE FILE [SCALE]: the facts of a 1080p input, read when the window opens.
shot_facts() {
    local language=$1 file=$2 scale=${3:-1} wid clip="$VIDEOS/mariage-1080p.mp4"
    mkdir -p "$VIDEOS"
    [[ -s "$clip" ]] || ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=20" -f lavfi -i "sine=frequency=440:duration=20" \
        -map 0:v -map 1:a -c:v libx264 -preset veryfast -c:a aac -ac 2 -shortest "$clip"
    write_preferences "$clip" "$VIDEOS/mariage-1080p.m4v" 25
    start_app TRANSCODA_LANGUAGE="$language" QT_SCALE_FACTOR="$scale"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; tail -5 "$SCRATCH/app.err" >&2; exit 1; }
    sleep 1.5
    capture "$wid" "$file"
    stop_app
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

# shot_input_dialog LANGUAGE FILE: the input file dialog showing every file, after a
# click on the open picture (openPicture: 96 x 96 at 8, 4).
shot_input_dialog() {
    local language=$1 file=$2 title wid dlg
    make_clip
    write_preferences "$CLIP" "$VIDEOS/vacances-2026.avi" 0
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.3
    xdotool mousemove --window "$wid" 56 52 click 1
    title="Select the input file"
    [[ "$language" == FR ]] && title="Choisir le fichier d'entrée"
    dlg=$(wait_for 100 named_window "$title") || { echo "screenshots: no input dialog" >&2; exit 1; }
    sleep 0.5
    # The last file type, every file (Tab from the file name field reaches the types).
    xdotool key --window "$dlg" Tab key --window "$dlg" End
    capture "$dlg" "$file"
    stop_app
}

# shot_opened LANGUAGE FILE: the window opened with a file ("Open with"): the file is the
# input, and the output named after the last input follows it.
shot_opened() {
    local language=$1 file=$2 wid
    make_clip
    cp -f "$CLIP" "$VIDEOS/anniversaire.mkv"
    write_preferences "$CLIP" "$VIDEOS/vacances-2026.avi" 0
    APP_FILES=("$VIDEOS/anniversaire.mkv")
    start_app TRANSCODA_LANGUAGE="$language"
    APP_FILES=()
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    capture "$wid" "$file"
    stop_app
}

# shot_about LANGUAGE FILE: the About window (aboutPicture: 96 x 96 at 553, 4).
shot_about() {
    local language=$1 file=$2 title wid dlg
    write_preferences
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.3
    xdotool mousemove --window "$wid" 601 52 click 1
    title="About Transcoda"
    [[ "$language" == FR ]] && title="A propos de Transcoda"
    dlg=$(wait_for 100 named_window "$title") || { echo "screenshots: no About window" >&2; exit 1; }
    capture "$dlg" "$file"
    stop_app
}

# The kept list of the larger window and of the failures: a sound-only input for a
# picture format (refused before it begins) and a file that is no media (its tool fails).
failing_list() {
    mkdir -p "$VIDEOS"
    [[ -s "$VIDEOS/concert.wav" ]] || ffmpeg -hide_banner -loglevel error -nostdin -y \
        -f lavfi -i "sine=frequency=440:duration=3" "$VIDEOS/concert.wav"
    printf 'not a video\n' >"$VIDEOS/notes.avi"
    cat <<EOF
[List]
item1.format=" Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)"
item1.input=$VIDEOS/concert.wav
item1.output=$VIDEOS/concert.mpeg
item1.status=waiting
item2.format=" Audio MP3 - MP3; Audio (128kbps)"
item2.input=$VIDEOS/notes.avi
item2.output=$VIDEOS/notes.mp3
item2.status=waiting
item3.format=" Video HD Ready - AVI 1280x720 (MPEG4/DivX/XviD, 4500 kbps) ; MP3(192kbps)"
item3.input=/home/user/Vidéos/anniversaire de Léa, été 2026 (version longue).mkv
item3.output=/home/user/Vidéos/anniversaire de Léa, été 2026 (version longue).avi
item3.status=failed
item3.reason=" avant de commencer : le fichier d'entrée n'existe pas"
EOF
}

# shot_larger LANGUAGE FILE: the list shown, the window made larger.
shot_larger() {
    local language=$1 file=$2 wid
    KEPT_LIST=$(failing_list)
    write_preferences
    KEPT_LIST=
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.3
    expand_list "$wid" 1
    # Up to the screen's corner first, so that the whole of it stays on the screen.
    xdotool windowmove "$wid" 0 0
    xdotool windowsize "$wid" 1100 640
    sleep 0.5
    capture "$wid" "$file"
    stop_app
}

# Clicks "Convertir la liste" / "Convert the list" (convertQueue: 220 x 25 at 350, 470).
press_convert_list() {
    xdotool mousemove --window "$1" 460 482 click 1
}

# capture_list_run WID FILE PERCENT TENTHS: the list shown and converted, taken once the
# window's title reaches PERCENT (waiting at most TENTHS tenths of a second), then stopped
# and the program closed.
capture_list_run() {
    local wid=$1 file=$2 percent=$3 tenths=$4
    expand_list "$wid" 1
    press_convert_list "$wid"
    wait_percent "$wid" "$percent" "$tenths"
    sleep 0.3
    capture "$wid" "$file"
    press_convert_list "$wid"   # Stop
    for ((i = 0; i < 100; i++)); do
        [[ -z "$(title_percent "$wid")" ]] && break
        sleep 0.1
    done
    stop_app
}

# shot_clip_list LANGUAGE FILE ITEMS AT_ONCE PERCENT TENTHS: a list of the clip's first
# ITEMS items (HD AVI, MP3, MPEG), AT_ONCE of them converted at once, taken once the
# list reaches PERCENT (within TENTHS tenths of a second), then stopped.
shot_clip_list() {
    local language=$1 file=$2 items=$3 at_once=$4 percent=$5 tenths=$6 wid i
    local formats=(" Video HD Ready - AVI 1280x720 (MPEG4/DivX/XviD, 4500 kbps) ; MP3(192kbps)"
        " Audio MP3 - MP3; Audio (128kbps)" " Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)")
    local extensions=(avi mp3 mpeg)
    make_clip
    rm -f "$VIDEOS/vacances-2026.avi" "$VIDEOS/vacances-2026.mp3" "$VIDEOS/vacances-2026.mpeg"
    KEPT_LIST=$(
        [[ "$at_once" == 1 ]] || printf '[Options]\nitemsAtOnce=%s\n' "$at_once"
        echo "[List]"
        for ((i = 0; i < items; i++)); do
            printf 'item%d.format="%s"\nitem%d.input=%s\nitem%d.output=%s\nitem%d.status=waiting\n' \
                $((i + 1)) "${formats[i]}" $((i + 1)) "$CLIP" $((i + 1)) "$VIDEOS/vacances-2026.${extensions[i]}" $((i + 1))
        done
    )
    write_preferences "$CLIP" "$VIDEOS/vacances-2026.avi" 0
    KEPT_LIST=
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.3
    capture_list_run "$wid" "$file" "$percent" "$tenths"
}

# shot_failures LANGUAGE FILE: the list of failing items converted; the summary's box
# with its Details open.
shot_failures() {
    local language=$1 file=$2 wid box
    KEPT_LIST=$(failing_list)
    write_preferences
    KEPT_LIST=
    start_app TRANSCODA_LANGUAGE="$language"
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.3
    expand_list "$wid" 1
    press_convert_list "$wid"
    box=$(wait_for 600 named_window '^Transcoda 1.0$') || { echo "screenshots: no summary" >&2; exit 1; }
    sleep 0.5
    # The Details button stands at the box's bottom right.
    local width height
    width=$(xwininfo -id "$box" | awk '/Width:/ { print $2 }')
    height=$(window_height "$box")
    xdotool mousemove --window "$box" $((width - 50)) $((height - 20)) click 1
    sleep 0.5
    capture "$box" "$file"
    stop_app
}

if [[ "$PART" == --scale2 ]]; then
    shot_main main_scale2.png yes 2
    shot_main main_scale2_en.png yes 2 TRANSCODA_LANGUAGE=EN
    shot_facts FR main_facts_scale2.png 2
    shot_facts EN main_facts_scale2_en.png 2
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

# shot_language_menu FR|EN FILE [ENTRY [WIDTH]]: a right click on the window's background,
# then the pointer on the Language submenu (or on the entry ENTRY pixels below the click);
# the menus are windows of their own, so the screen is taken, cut to the window and the
# menus beside it (WIDTH pixels wide, 800 by default).
shot_language_menu() {
    local language=$1 file=$2 entry=${3:-35} width=${4:-800}
    write_preferences
    start_app TRANSCODA_LANGUAGE="$language"
    local wid
    wid=$(wait_for 200 main_window) || { echo "screenshots: no main window" >&2; exit 1; }
    sleep 0.5
    # The panel's empty middle, right of the Convert picture.
    xdotool mousemove --window "$wid" 420 20 click 3
    sleep 0.5
    # The second entry of the menu: the Language submenu.
    xdotool mousemove_relative 30 "$entry"
    sleep 0.8
    local X Y HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$wid" | grep -E '^(X|Y|HEIGHT)=')"
    import -window root -crop "${width}x${HEIGHT}+${X}+${Y}" +repage "$OUT/$file"
    echo "screenshots: $OUT/$file"
    stop_app
}

shot_main main_collapsed.png no
shot_main main_expanded.png yes
shot_main main_expanded_debug.png yes TRANSCODA_DEBUG=1
shot_main main_english.png no TRANSCODA_LANGUAGE=EN
shot_main main_english_expanded.png yes TRANSCODA_LANGUAGE=EN
shot_facts FR main_facts.png
shot_facts EN main_facts_en.png
shot_converting FR main_converting.png
shot_converting EN main_converting_en.png
shot_sync FR sync_preview.png
shot_sync EN sync_dialog_en.png
shot_extraction FR extraction_dialog.png
shot_extraction EN extraction_dialog_en.png
shot_input_dialog FR input_dialog.png
shot_input_dialog EN input_dialog_en.png
shot_opened FR main_opened_with.png
shot_opened EN main_opened_with_en.png

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
KEPT_LIST=$'[Options]\nitemsAtOnce=2'
# The third entry: the items converted at once.
shot_language_menu FR items_at_once_menu.png 60 900
shot_language_menu EN items_at_once_menu_en.png 60 900
KEPT_LIST=

shot_about FR about.png
shot_about EN about_en.png
shot_larger FR main_larger.png
shot_larger EN main_larger_en.png
shot_clip_list FR main_list_progress.png 2 1 30 1200
shot_clip_list EN main_list_progress_en.png 2 1 30 1200
shot_failures FR list_failures.png
shot_failures EN list_failures_en.png
shot_clip_list FR main_list_at_once.png 3 2 40 1800
shot_clip_list EN main_list_at_once_en.png 3 2 40 1800
