# Waiting on the program's windows on a virtual X server, for the scripts that drive it
# with xdotool. Sourced; each function returns false once its bound has run out.

# Prints the id of the program's main window once it is visible (within 60 s).
main_window() {
    local win
    for _ in $(seq 1 1200); do
        win=$(xdotool search --onlyvisible --name 'Transcoda Media Converter' 2>/dev/null | head -1 || true)
        [[ -n "$win" ]] && { echo "$win"; return 0; }
        sleep 0.05
    done
    return 1
}

# pointer_over WIN X Y: moves the pointer to (X, Y) of the window WIN and waits until it
# is over that window (mapped, in its place, nothing above it), so that a click there
# reaches it.
pointer_over() {
    local WINDOW
    for _ in $(seq 1 200); do
        xdotool mousemove --window "$1" "$2" "$3" 2>/dev/null || true
        WINDOW=
        eval "$(xdotool getmouselocation --shell 2>/dev/null | grep '^WINDOW=')"
        [[ "$WINDOW" == "$1" ]] && return 0
        sleep 0.05
    done
    return 1
}

# focus_on WIN: gives the keyboard to the window WIN and waits until it has it.
focus_on() {
    for _ in $(seq 1 200); do
        xdotool windowfocus "$1" 2>/dev/null || true
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && return 0
        sleep 0.05
    done
    return 1
}
