#!/bin/sh
# Installs what is missing, builds Dorvane and starts it (under Xvfb when
# there is no display). Arguments are passed to the program.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target Dorvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/Dorvane "$@"
fi
exec build/bin/Dorvane "$@"
