# Shared set-up of the end-to-end tests of transcoda-cli. Sourced with BIN (the build's
# bin folder), FIXTURES (a shared fixture folder) and the test's name set.
set -euo pipefail

: "${BIN:?}" "${FIXTURES:?}" "${TEST_NAME:?}"
SRC_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

bash "$SRC_TESTS/fixtures/make_fixtures.sh" "$FIXTURES" >/dev/null

# A private program folder per test: its own copy of the program and of B/, so that the
# check for left-over intermediates sees only this test's files, and the work folder
# path (which every tool command line holds) names only this test's processes.
mkdir -p "$BIN/../e2e-work"
WORK=$(mktemp -d "$(cd "$BIN/.." && pwd)/e2e-work/$TEST_NAME.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/prog/B" "$WORK/out"
# Hard links where the file system allows them (the program's folder is the folder of the
# path it was started by), copies otherwise.
cp -l "$BIN/transcoda-cli" "$WORK/prog/" 2>/dev/null || cp "$BIN/transcoda-cli" "$WORK/prog/"
cp -l "$BIN"/B/utility* "$WORK/prog/B/" 2>/dev/null || cp "$BIN"/B/utility* "$WORK/prog/B/"
CLI="$WORK/prog/transcoda-cli"
# The work folders (intermediates) of this test's instances.
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The CLI speaks the locale's language unless --lang says otherwise; the tests read its
# French texts, which a C locale gives.
unset LC_ALL LC_MESSAGES TRANSCODA_LANGUAGE
export LANG=C.UTF-8

FAILURES=0
fail() { echo "FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }

# Intermediates or work folders left, and helper processes still running for this test.
check_clean() {
    local what=$1 left
    left=$(find "$WORK/prog/B" -maxdepth 1 -name 'tmp*' -printf '%f '; find "$XDG_RUNTIME_DIR" -mindepth 2 -printf '%P ')
    [ -z "$left" ] || fail "$what: intermediates or work folders left: $left"
    left=$(find "$WORK" -name '.*.transcoda-*' -printf '%p ')
    [ -z "$left" ] || fail "$what: temporary outputs left: $left"
    # A killed tool may take a moment to be reaped by init.
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        pgrep -f "$WORK/" >/dev/null || return 0
        sleep 0.2
    done
    fail "$what: helper processes left: $(pgrep -af "$WORK/" | head -3)"
}

# ffprobe value of one entry of the first stream of a kind (v or a), empty when none.
probe_stream() {
    ffprobe -v error -select_streams "$2:0" -show_entries "stream=$3" -of default=nw=1:nk=1 "$1" </dev/null 2>/dev/null | head -1
}
probe_duration() {
    ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$1" </dev/null 2>/dev/null | head -1
}

# check_media WHAT FILE EXPECT [MIN_SECONDS] [SOUND]: EXPECT is WxH, "video" (any size) or
# "audio" (sound only); SOUND "optional" lets a picture without sound through.
check_media() {
    local what=$1 file=$2 expect=$3 min=${4:-1.5} sound=${5:-required} size duration
    [ -s "$file" ] || { fail "$what: no output $file"; return; }
    duration=$(probe_duration "$file")
    awk -v d="$duration" -v m="$min" 'BEGIN { exit !(d + 0 >= m) }' ||
        fail "$what: duration '$duration' below $min s"
    [ "$sound" = optional ] || [ -n "$(probe_stream "$file" a codec_name)" ] || fail "$what: no sound stream"
    case $expect in
        audio)
            [ -z "$(probe_stream "$file" v codec_name)" ] || fail "$what: a picture stream in a sound file" ;;
        video)
            [ -n "$(probe_stream "$file" v codec_name)" ] || fail "$what: no picture stream" ;;
        *)
            size=$(probe_stream "$file" v width)x$(probe_stream "$file" v height)
            [ "$size" = "$expect" ] || fail "$what: picture $size, expected $expect" ;;
    esac
}

# run_cli ARGS...: transcoda-cli with its diagnostic log, output in $WORK/stdout and
# $WORK/stderr; sets STATUS.
run_cli() {
    STATUS=0
    "$CLI" --debug "$@" >"$WORK/stdout" 2>"$WORK/stderr" </dev/null || STATUS=$?
}

finish() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
