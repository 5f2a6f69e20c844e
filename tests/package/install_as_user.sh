#!/usr/bin/env bash
# The Debian packages as a user gets them: made by CPack from this build tree, unpacked
# into throwaway roots, checked for what each must hold and what the desktop needs, made
# read-only, and used to convert a clip by a user who cannot write there (nobody, when the
# tests run as root). The conversion runs from transcoda-cli's package alone, on a
# system without Qt or the player: their files are hidden in a mount namespace where one
# can be made, and the executables' libraries are read with ldd in any case.
# Usage: install_as_user.sh BUILD_DIR MAKE_FIXTURES FIXTURE_DIR
# Exits 77 (skipped) when the installed program cannot be run as such a user here.
set -euo pipefail
BUILD=$1 MAKE_FIXTURES=$2 FIXTURES=$3
SKIP=77

WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
chmod 755 "$WORK"

FAILURES=0
fail() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }

if [ "$(id -u)" = 0 ]; then
    AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    "${AS_USER[@]}" true 2>/dev/null || { echo "skipped: cannot switch to an unprivileged user"; exit $SKIP; }
else
    AS_USER=()
fi
if findmnt -no OPTIONS -T "$WORK" 2>/dev/null | tr , '\n' | grep -qx noexec; then
    echo "skipped: $WORK is on a noexec file system"; exit $SKIP
fi

# The packages, made aside so that they never replace those made by `make package`.
cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
CLI_DEB=$(echo "$WORK"/pkg/transcoda-cli_*.deb)
WINDOW_DEB=$(echo "$WORK"/pkg/transcoda_*.deb)
for deb in "$CLI_DEB" "$WINDOW_DEB"; do
    [ -f "$deb" ] || { echo "FAIL: no $(basename "$deb") in $WORK/pkg" >&2; exit 1; }
done

# Depends: the libraries found by the scan, those the tools load by name, the engines
# they start, and for the window the tools' package of the same version; nothing of Qt
# or the player for the terminal. One row per package and name, "!" for a name refused.
VERSION=$(dpkg-deb -f "$CLI_DEB" Version)
while read -r deb need; do
    depends=$(dpkg-deb -f "$deb" Depends)
    if [[ $need == !* ]]; then
        ! grep -qiE "(^|, )${need#!}" <<<"$depends" || fail "$(basename "$deb"): Depends names ${need#!}: $depends"
    else
        grep -qE "(^|, )$need( |,|$)" <<<"$depends" || fail "$(basename "$deb"): Depends lacks $need: $depends"
    fi
done <<ROWS
$CLI_DEB libopencore-amrnb0
$CLI_DEB libavformat[0-9]+
$CLI_DEB libavcodec[0-9]+
$CLI_DEB libavutil[0-9]+
$CLI_DEB ffmpeg
$CLI_DEB dvdauthor
$CLI_DEB !libqt
$CLI_DEB !mpv
$WINDOW_DEB libqt6widgets6
$WINDOW_DEB libqt6gui6
$WINDOW_DEB libqt6core6
$WINDOW_DEB mpv
$WINDOW_DEB transcoda-cli \(= ${VERSION//./\\.}\)
ROWS

# Which package holds which file ("!" for a file it must not hold).
while read -r deb file; do
    listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||')
    if [[ $file == !* ]]; then
        ! grep -qx "${file#!}" <<<"$listing" || fail "$(basename "$deb") holds ${file#!}"
    else
        grep -qx "$file" <<<"$listing" || fail "$(basename "$deb") lacks $file"
    fi
done <<ROWS
$CLI_DEB usr/bin/transcoda-cli
$CLI_DEB usr/lib/transcoda/transcoda-cli
$CLI_DEB usr/lib/transcoda/B/utilitymff3.exe
$CLI_DEB usr/share/man/man1/transcoda-cli.1.gz
$CLI_DEB usr/share/bash-completion/completions/transcoda-cli
$CLI_DEB usr/share/doc/transcoda-cli/copyright
$CLI_DEB usr/share/doc/transcoda-cli/changelog.Debian.gz
$CLI_DEB !usr/lib/transcoda/transcoda
$CLI_DEB !usr/bin/transcoda
$WINDOW_DEB usr/bin/transcoda
$WINDOW_DEB usr/lib/transcoda/transcoda
$WINDOW_DEB usr/share/man/man1/transcoda.1.gz
$WINDOW_DEB usr/share/applications/org.example.transcoda.desktop
$WINDOW_DEB usr/share/doc/transcoda/copyright
$WINDOW_DEB usr/share/doc/transcoda/changelog.Debian.gz
$WINDOW_DEB !usr/lib/transcoda/B/utilitymff3.exe
ROWS

# Both packages as installed together, for the window; the terminal's alone, for the
# conversion.
ROOT=$WORK/root
CLI_ROOT=$WORK/cli-root
dpkg-deb -x "$CLI_DEB" "$ROOT"
dpkg-deb -x "$WINDOW_DEB" "$ROOT"
dpkg-deb -x "$CLI_DEB" "$CLI_ROOT"
PRIVATE=$CLI_ROOT/usr/lib/transcoda

# The commands lead to the real executables, whose folder holds the tools.
for command in transcoda transcoda-cli; do
    [ -L "$ROOT/usr/bin/$command" ] || fail "usr/bin/$command is not a link"
    [ "$(readlink -f "$ROOT/usr/bin/$command")" = "$ROOT/usr/lib/transcoda/$command" ] ||
        fail "usr/bin/$command leads to $(readlink -f "$ROOT/usr/bin/$command")"
done
TOOLS=(utilitymff.exe utilitymffx.exe utilitymff3.exe utilitymen.exe utilitymen2.exe utilitympl.exe utilityoth.exe)
for tool in "${TOOLS[@]}"; do
    [ -x "$PRIVATE/B/$tool" ] || fail "no tool B/$tool"
done

# Nothing of Qt or the player in what the terminal's package runs, and every library found.
for program in "$PRIVATE/transcoda-cli" "${TOOLS[@]/#/$PRIVATE/B/}"; do
    libraries=$(ldd "$program" 2>&1) || fail "ldd $program: $libraries"
    ! grep -qiE 'libQt|libmpv|not found' <<<"$libraries" ||
        fail "$(basename "$program") needs: $(grep -iE 'libQt|libmpv|not found' <<<"$libraries" | head -3)"
done

# The menu entry: valid, its command installed, its icon in the theme at a menu size and
# as vectors; the software centre's description valid, named after the entry.
ENTRY=$(echo "$ROOT"/usr/share/applications/*.desktop)
if [ -f "$ENTRY" ]; then
    desktop-file-validate "$ENTRY" || fail "desktop entry not valid"
    exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$ENTRY")
    [ -e "$ROOT/usr/bin/$exec_cmd" ] || fail "the entry runs $exec_cmd, which is not in usr/bin"
    icon=$(sed -n 's/^Icon=//p' "$ENTRY")
    for size in 48x48 scalable; do
        compgen -G "$ROOT/usr/share/icons/hicolor/$size/apps/$icon.*" >/dev/null || fail "no $size icon $icon"
    done
else
    fail "no desktop entry, or more than one"
fi
METAINFO=$(echo "$ROOT"/usr/share/metainfo/*.metainfo.xml)
if [ -f "$METAINFO" ]; then
    appstreamcli validate --no-net --pedantic "$METAINFO" >"$WORK/appstream.log" 2>&1 ||
        { cat "$WORK/appstream.log" >&2; fail "metainfo not valid"; }
    id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$METAINFO")
    [ "$id.desktop" = "$(basename "$ENTRY")" ] || fail "AppStream id $id, desktop entry $(basename "$ENTRY")"
    [ "$(basename "$METAINFO")" = "$id.metainfo.xml" ] || fail "AppStream file $(basename "$METAINFO") for id $id"
else
    fail "no metainfo"
fi

# A system without Qt or the player: their files hidden under /dev/null in a mount
# namespace of the command's own, when one can be made here.
HIDDEN=()
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    mapfile -t HIDDEN < <(find /usr/lib /lib -name 'libQt6*.so.*' -type f 2>/dev/null; command -v mpv || true)
fi
without_qt() {
    if [ ${#HIDDEN[@]} -eq 0 ]; then "$@"; return; fi
    unshare -m -- bash -c 'n=$1; shift
        for ((i = 0; i < n; i++)); do mount --bind /dev/null "$1" || exit 125; shift; done
        exec "$@"' _ "${#HIDDEN[@]}" "${HIDDEN[@]}" "$@"
}
if [ ${#HIDDEN[@]} -gt 0 ] && [ "$(without_qt cat "${HIDDEN[0]}" | wc -c)" -ne 0 ]; then
    fail "${HIDDEN[0]} is not hidden: the run below would prove nothing"
fi

# A user who cannot write the installed tree, with a home and XDG folders of its own.
chmod -R a-w "$ROOT" "$CLI_ROOT"
bash "$MAKE_FIXTURES" "$FIXTURES" >/dev/null
USER_DIR=$WORK/user
mkdir -p "$USER_DIR/home" "$USER_DIR/run" "$USER_DIR/files"
cp "$FIXTURES/clip.mp4" "$USER_DIR/files/"
chmod 700 "$USER_DIR/run"
if [ "$(id -u)" = 0 ]; then chown -R 65534:65534 "$USER_DIR"; fi
as_user() {
    without_qt "${AS_USER[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$USER_DIR/home" \
        XDG_CONFIG_HOME="$USER_DIR/home/.config" XDG_CACHE_HOME="$USER_DIR/home/.cache" \
        XDG_RUNTIME_DIR="$USER_DIR/run" "$@"
}
if as_user touch "$PRIVATE/B/probe" 2>/dev/null; then
    fail "the user can write the installed program folder; the run below would prove nothing"
fi

# The HD AVI preset chains three tool runs through intermediates.
STATUS=0
as_user "$CLI_ROOT/usr/bin/transcoda-cli" --lang EN --debug -f 0 "$USER_DIR/files/clip.mp4" "$USER_DIR/files/clip.avi" \
    >"$WORK/stdout" 2>"$WORK/stderr" </dev/null || STATUS=$?
if [ "$STATUS" -ne 0 ]; then
    fail "transcoda-cli ended with status $STATUS"
    tail -20 "$WORK/stderr" >&2
fi
OUT=$USER_DIR/files/clip.avi
probe() { ffprobe -v error -select_streams "$1:0" -show_entries "stream=$2" -of default=nw=1:nk=1 "$OUT" 2>/dev/null | head -1; }
if [ -s "$OUT" ]; then
    size=$(probe v width)x$(probe v height)
    [ "$size" = 1280x720 ] || fail "output picture $size, expected 1280x720"
    [ -n "$(probe a codec_name)" ] || fail "output without sound"
    duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$OUT" 2>/dev/null)
    awk -v d="$duration" 'BEGIN { exit !(d + 0 >= 2.5) }' || fail "output lasts '$duration' s of 3"
else
    fail "no output $OUT"
fi

# No tool of the installed program outlives the conversion (a killed one may take a
# moment to be reaped).
for _ in $(seq 50); do
    pgrep -f "$WORK/" >/dev/null || break
    sleep 0.1
done
! pgrep -f "$WORK/" >/dev/null || fail "tools left running: $(pgrep -af "$WORK/" | head -3)"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
