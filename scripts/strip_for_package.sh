#!/bin/sh
# The strip of `make package`, as Debian's own packages are stripped: the symbols and
# also the compiler's notes, which no program reads.
exec strip --remove-section=.comment --remove-section=.note --strip-unneeded "$@"
