#!/usr/bin/env bash
# The manual pages and the bash completion kept in step with the program: every option
# that `transcoda-cli --help` names (in English and in French) is described in the
# manual page and offered by the completion, and nothing else is; the completion offers
# the formats as --formats prints them, and file names; the pages render without a
# warning. One row per check.
# Usage: manual_pages.sh TRANSCODA_CLI SOURCE_DIR
set -uo pipefail
CLI=$1 SRC=$(cd "$2" && pwd)
MAN_CLI=$SRC/docs/man/transcoda-cli.1
COMPLETION=$SRC/resources/completion/transcoda-cli
FAILURES=0

# The options named in a text: a word starting with one or two "-" then a letter, not
# inside another word ("transcoda-cli", "Ctrl-C") and not a number ("-1.25").
options_in() { grep -oE '(^|[^[:alnum:]-])--?[a-z][a-z-]*' | sed -E 's/^[^-]//' | sort -u; }

help_options() { "$CLI" "$@" --help | options_in; }

# The options the page describes: the tags of the paragraphs of its OPTIONS section.
man_options() {
    awk '/^\.SH /{ in_options = ($2 == "OPTIONS") } in_options && tag { print; tag = 0 } /^\.TP/{ tag = 1 }' "$1" |
        sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' | options_in
}

# What the completion offers for the command line `transcoda-cli WORD...` with the
# cursor on the last word, one candidate a line.
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             _transcoda_cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$COMPLETION" "$CLI" "$@"
}

check() {  # NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1" >&2
        diff <(echo "$2") <(echo "$3") | sed 's/^/    /' >&2
        FAILURES=$((FAILURES + 1))
    fi
}

EN_OPTIONS=$(help_options --lang EN)
[ -n "$EN_OPTIONS" ] || { echo "FAIL: $CLI --help names no option" >&2; exit 1; }
FORMATS=$("$CLI" --formats | sed -E 's/\t */  /')
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
touch "$WORK/clip one.mp4" "$WORK/-odd.mp4"

check "the manual page describes the options of --help (English), no more" "$EN_OPTIONS" "$(man_options "$MAN_CLI")"
check "the manual page describes the options of --help (French), no more" "$(help_options --lang FR)" "$(man_options "$MAN_CLI")"
check "the completion offers the options of --help, no more" "$EN_OPTIONS" "$(complete_words - | sort)"
check "after -f: every format, its number then its label" "$FORMATS" "$(complete_words -f '')"
check "after -f 3: the formats whose number begins with 3" "$(seq 3 3; seq 30 39)" "$(complete_words -f 3 | cut -d' ' -f1)"
check "after -f 12: the number alone, to be inserted" "12" "$(complete_words -f 12)"
check "--lang=: the languages" "$(printf 'fr\nen')" "$(complete_words --lang =)"
check "--progress j: json" "json" "$(complete_words --progress j)"
check "an input: the files" "$WORK/clip one.mp4" "$(complete_words -f 0 "$WORK/cl")"
check "after --: a file whose name begins with -" "-odd.mp4" "$(cd "$WORK" && complete_words -f 0 -- -o)"
for page in "$SRC"/docs/man/*.1; do
    check "$(basename "$page") renders without a warning" "" "$(groff -man -z -ww "$page" 2>&1)"
done

[ "$FAILURES" -eq 0 ] || { echo "$FAILURES check(s) failed" >&2; exit 1; }
echo "all checks passed"
