#!/usr/bin/env bash
# Checks the packages made by `make package` as a maintainer would before uploading:
# every executable hardened (PIE, bind now, fortify, stack protector), lintian with no
# error or warning beyond the overrides each package carries, the menu entry and the
# AppStream description valid. Prints each package's size.
# Usage: check_packages.sh PACKAGE_BUILD_DIR
set -euo pipefail
DIR=$1
shopt -s nullglob
DEBS=("$DIR"/*.deb)
[ ${#DEBS[@]} -eq 2 ] || { echo "expected two packages in $DIR, found ${#DEBS[@]}" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0

for deb in "${DEBS[@]}"; do
    name=$(dpkg-deb -f "$deb" Package)
    root=$WORK/$name
    dpkg-deb -x "$deb" "$root"
    while IFS= read -r -d '' file; do
        head -c 4 "$file" | grep -q $'^\x7fELF' || continue
        # hardening-check reads the file; the tools are one program under seven names.
        hardening-check --quiet --nocfprotection "$file" || FAILURES=$((FAILURES + 1))
    done < <(find "$root" -type f -perm -u+x -print0)
    for entry in "$root"/usr/share/applications/*.desktop; do
        desktop-file-validate "$entry" || FAILURES=$((FAILURES + 1))
    done
    for metainfo in "$root"/usr/share/metainfo/*.xml; do
        appstreamcli validate --no-net --pedantic "$metainfo" || FAILURES=$((FAILURES + 1))
    done
    printf '%-14s %8s bytes, %6s KiB installed\n' "$name" "$(stat -c %s "$deb")" "$(dpkg-deb -f "$deb" Installed-Size)"
done

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --display-info "${DEBS[@]}" || FAILURES=$((FAILURES + 1))
else
    echo "lintian is not installed: not run" >&2
fi

[ "$FAILURES" -eq 0 ] || { echo "$FAILURES check(s) failed" >&2; exit 1; }
echo "packages checked"
