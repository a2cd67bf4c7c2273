#!/bin/sh
# Pictures of every tab of the window for looking at texts and fit:
#   lang-*    every tab in Polish, German, English and Czech on a large screen
#             (the window at its own size; 44 pictures)
#   laptop-*  every tab on a 1366 x 768 screen
#   scaled-*  every tab on a 1920 x 1080 screen at 150 % (1280 x 720 logical)
# Each run uses a throw-away settings store and its own virtual X display.
#
#   tools/window-shots.sh [BUILD_DIR] [OUT_DIR] [DISPLAY_NUMBER] [BIG_DISPLAY_NUMBER]
set -eu
build=${1:-build}
out=${2:-window-shots}
small=${3:-15}
big=${4:-25}
shots="$build/tools/window-shots/zenu-window-shots"
[ -x "$shots" ] || { echo "build $shots first (make build)"; exit 1; }
mkdir -p "$out"

xvfb=
cfg=
cleanup() {
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
    if [ -n "$cfg" ]; then rm -rf "$cfg"; fi
    xvfb=; cfg=
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# run DISPLAY_NUMBER WIDTHxHEIGHT PREFIX [SCALE] [KEYS...]
run() {
    num=$1 size=$2 prefix=$3 scale=$4
    shift 4
    Xvfb ":$num" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 & xvfb=$!
    for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$num" ] && break; sleep 0.1; done
    cfg=$(mktemp -d)
    DISPLAY=":$num" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" XDG_CONFIG_HOME="$cfg" \
        "$shots" "$out" "$prefix" "$@"
    cleanup
}

run "$big" 1920x1080 lang 1
run "$small" 1366x768 laptop 1 PolskiPL NiemieckiDE
run "$big" 1920x1080 scaled 1.5 PolskiPL NiemieckiDE Ceski
echo "pictures in $out"
