#!/usr/bin/env bash
# The Debian package as a user gets it: made by CPack from this build tree, unpacked into
# a throwaway root, checked for what the desktop needs, made read-only, and used to
# convert a clip by a user who cannot write there (nobody, when the tests run as root).
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

# The package, made aside so that it never replaces one made by `make package`.
cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
DEB=$(echo "$WORK"/pkg/transcoda_*.deb)
[ -f "$DEB" ] || { echo "FAIL: no transcoda_*.deb in $WORK/pkg" >&2; exit 1; }

# The libraries found by the scan, and the engines the tools start by name.
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 libopencore-amrnb0 ffmpeg mpv dvdauthor; do
    grep -qE "(^|, )$need( |,|$)" <<<"$DEPENDS" || fail "Depends does not name $need: $DEPENDS"
done

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"
PRIVATE=$ROOT/usr/lib/transcoda

# The commands lead to the real executables, whose folder holds the tools.
for command in transcoda transcoda-cli; do
    [ -L "$ROOT/usr/bin/$command" ] || fail "usr/bin/$command is not a link"
    [ "$(readlink -f "$ROOT/usr/bin/$command")" = "$PRIVATE/$command" ] ||
        fail "usr/bin/$command leads to $(readlink -f "$ROOT/usr/bin/$command")"
done
for tool in utilitymff.exe utilitymffx.exe utilitymff3.exe utilitymen.exe utilitymen2.exe utilitympl.exe utilityoth.exe; do
    [ -x "$PRIVATE/B/$tool" ] || fail "no tool B/$tool"
done

# The menu entry: valid, its command installed, its icon in the theme at a menu size and
# as vectors; the software centre's description valid.
ENTRY=$ROOT/usr/share/applications/transcoda.desktop
if [ -f "$ENTRY" ]; then
    desktop-file-validate "$ENTRY" || fail "desktop entry not valid"
    exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$ENTRY")
    [ -e "$ROOT/usr/bin/$exec_cmd" ] || fail "the entry runs $exec_cmd, which is not in usr/bin"
    icon=$(sed -n 's/^Icon=//p' "$ENTRY")
    for size in 48x48 scalable; do
        compgen -G "$ROOT/usr/share/icons/hicolor/$size/apps/$icon.*" >/dev/null || fail "no $size icon $icon"
    done
else
    fail "no desktop entry"
fi
METAINFO=$(echo "$ROOT"/usr/share/metainfo/*.metainfo.xml)
if [ -f "$METAINFO" ]; then
    appstreamcli validate --no-net "$METAINFO" >"$WORK/appstream.log" 2>&1 ||
        { cat "$WORK/appstream.log" >&2; fail "metainfo not valid"; }
else
    fail "no metainfo"
fi

# A user who cannot write the installed tree, with a home and XDG folders of its own.
chmod -R a-w "$ROOT"
bash "$MAKE_FIXTURES" "$FIXTURES" >/dev/null
USER_DIR=$WORK/user
mkdir -p "$USER_DIR/home" "$USER_DIR/run" "$USER_DIR/files"
cp "$FIXTURES/clip.mp4" "$USER_DIR/files/"
chmod 700 "$USER_DIR/run"
if [ "$(id -u)" = 0 ]; then chown -R 65534:65534 "$USER_DIR"; fi
as_user() {
    "${AS_USER[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$USER_DIR/home" \
        XDG_CONFIG_HOME="$USER_DIR/home/.config" XDG_CACHE_HOME="$USER_DIR/home/.cache" \
        XDG_RUNTIME_DIR="$USER_DIR/run" "$@"
}
if as_user touch "$PRIVATE/B/probe" 2>/dev/null; then
    fail "the user can write the installed program folder; the run below would prove nothing"
fi

# The HD AVI preset chains three tool runs through intermediates.
STATUS=0
as_user "$ROOT/usr/bin/transcoda-cli" --lang EN --debug -f 0 "$USER_DIR/files/clip.mp4" "$USER_DIR/files/clip.avi" \
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
    pgrep -f "$ROOT/" >/dev/null || break
    sleep 0.1
done
! pgrep -f "$ROOT/" >/dev/null || fail "tools left running: $(pgrep -af "$ROOT/" | head -3)"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
