#!/usr/bin/env bash
# The whole table of presets, steps and lists against ffmpeg (see presets_bench.py).
#   BUILD=build bash bench/presets/presets.sh [--quick] [--presets 0,3] [--rounds N] ...
# Options may also come from PRESETS_BENCH, e.g. make bench PRESETS_BENCH=--quick.
# A full run takes about 50 minutes on 2 quiet processors (--rounds 1: about 30);
# --quick, a few minutes.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
# shellcheck disable=SC2086
exec python3 -B "$ROOT/bench/presets/presets_bench.py" --build "$BUILD" ${PRESETS_BENCH:-} "$@"
