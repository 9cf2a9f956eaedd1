#!/bin/sh
# Takes the pictures of the help page under Xvfb and writes them, as 8-bit
# palette PNGs, into resources/help/. Run by hand after a window changed;
# commit the pictures it writes.
#   sh tools/take-screenshots.sh BUILD_DIR [DISPLAY_NUMBER]
# BUILD_DIR must hold a build of dorvane-helpshots and dorvane-devsim
# (cmake --build BUILD_DIR --target dorvane-helpshots dorvane-devsim); this
# script builds nothing. DISPLAY_NUMBER defaults to 99.
#
# Pictures: mainwindow channel dialogue transmit history inspect instructset
# protocoleditor protocolset rxframes about, and timing and linkhealth once
# the workbench has docks titled "Timing" and "Link Health".
set -eu
if [ $# -lt 1 ]; then
    sed -n '5,8p' "$0" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
display=":${2:-99}"
for program in "$build/bin/dorvane-helpshots" "$build/bin/dorvane-devsim"; do
    if [ ! -x "$program" ]; then
        echo "$program is missing: build it first" >&2
        exit 2
    fi
done
for tool in Xvfb convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed (Debian: xvfb, imagemagick)" >&2
        exit 2
    fi
done

if [ -e "/tmp/.X11-unix/X${display#:}" ]; then
    echo "display $display is taken: choose another number" >&2
    exit 2
fi

# A fixed place, so the paths the pictures show read like an installation.
work=/tmp/dorvane
if [ -e "$work" ]; then
    echo "$work exists: remove it (or end what uses it) first" >&2
    exit 2
fi
mkdir "$work"
xvfb=
telemetry=
modbus=
stop() {
    for pid in $telemetry $modbus $xvfb; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $telemetry $modbus $xvfb; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# A Data directory of its own: the built themes, catalogues and samples, no
# settings or history of anybody's.
mkdir -p "$work/Data" "$work/shots"
for part in Themes Locale help samples; do
    if [ -d "$build/bin/Data/$part" ]; then
        cp -r "$build/bin/Data/$part" "$work/Data/"
    fi
done

Xvfb "$display" -screen 0 1200x700x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
"$build/bin/dorvane-devsim" --mode telemetry --rate 100 --quiet --link "$work/dorvane-telemetry" \
    >"$work/telemetry.log" 2>&1 &
telemetry=$!
"$build/bin/dorvane-devsim" --mode modbus --quiet --link "$work/dorvane-modbus" >"$work/modbus.log" 2>&1 &
modbus=$!
tries=0
while [ ! -e "$work/dorvane-telemetry" ] || [ ! -e "$work/dorvane-modbus" ] || [ ! -e "/tmp/.X11-unix/X${display#:}" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ]; then
        echo "Xvfb or dorvane-devsim did not start:" >&2
        cat "$work/xvfb.log" "$work/telemetry.log" "$work/modbus.log" >&2
        exit 1
    fi
    sleep 0.1
done

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$build/bin/dorvane-helpshots" --app-dir "$work" \
    --out "$work/shots" --telemetry "$work/dorvane-telemetry" --modbus "$work/dorvane-modbus"

for shot in "$work"/shots/*.png; do
    name=$(basename "$shot")
    # The whole workbench during 1 ms sending is the README's picture.
    dir=resources/help
    [ "$name" = periodic.png ] && dir=docs/screenshots
    convert "$shot" -strip -colors 256 "PNG8:$root/$dir/$name"
    echo "$dir/$name $(wc -c <"$root/$dir/$name") bytes"
done
