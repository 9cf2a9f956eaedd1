#!/bin/sh
# Installs what is missing, builds Dorvane and starts it (under Xvfb when
# there is no display). Arguments are passed to the program.
#   --demo   first starts dorvane-devsim twice, as a telemetry device and as a
#            Modbus RTU slave, each on a pseudo-terminal and a TCP port, prints
#            what to open, and stops both when the workbench exits.
set -eu
cd "$(dirname "$0")/.."
demo=0
if [ "${1:-}" = "--demo" ]; then
    demo=1
    shift
fi
sh tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ "$demo" = 0 ]; then
    cmake --build build --target Dorvane
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/Dorvane "$@"
    fi
    exec build/bin/Dorvane "$@"
fi

cmake --build build --target Dorvane dorvane-devsim
dir=${DORVANE_DEMO_DIR:-/tmp}
logs=$(mktemp -d)
build/bin/dorvane-devsim --mode telemetry --rate 100 --garbage 2 --quiet \
    --link "$dir/dorvane-telemetry" --tcp 0 >"$logs/telemetry.log" 2>&1 &
telemetry=$!
build/bin/dorvane-devsim --mode modbus --link "$dir/dorvane-modbus" --tcp 0 >"$logs/modbus.log" 2>&1 &
modbus=$!
stop() {
    kill "$telemetry" "$modbus" 2>/dev/null || true
    wait "$telemetry" "$modbus" 2>/dev/null || true
    rm -rf "$logs"
}
trap stop EXIT
trap 'exit 130' INT TERM

# Each prints its TCP port once it plays.
port() {
    sed -n 's/^tcp: 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$1"
}
tries=0
while [ -z "$(port "$logs/telemetry.log")" ] || [ -z "$(port "$logs/modbus.log")" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ]; then
        echo "dorvane-devsim did not start:" >&2
        cat "$logs/telemetry.log" "$logs/modbus.log" >&2
        exit 1
    fi
    sleep 0.1
done

cat <<TEXT
Demo devices, stopped when the workbench exits:
  telemetry  serial port $dir/dorvane-telemetry, or TCP client to 127.0.0.1:$(port "$logs/telemetry.log")
             100 frames/s: AA 55, counter u16, sine float, ramp float, sum u8, 0D 0A
             receive protocol: build/bin/Data/samples/devsim-telemetry.dvprx
  modbus     serial port $dir/dorvane-modbus, or TCP client to 127.0.0.1:$(port "$logs/modbus.log")
             unit 1; send 01 03 00 00 00 02 C4 0B, it answers 01 03 04 12 34 56 78 81 07
             samples: build/bin/Data/samples/devsim-modbus.dvpts, devsim-modbus.dvits
             what it receives and answers: $logs/modbus.log
TEXT

status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/Dorvane "$@" || status=$?
else
    build/bin/Dorvane "$@" || status=$?
fi
exit "$status"
