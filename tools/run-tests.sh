#!/bin/sh
# Installs what is missing, builds Dorvane with its tests, benchmarks and
# fuzz targets, and runs every test. Each stage stops the run on failure.
#   FUZZ_SECONDS      seconds per fuzz target (default 15, 0 skips fuzzing)
#   SANITIZERS=0      skips the AddressSanitizer and ThreadSanitizer passes
#   DORVANE_REQUIRE_PEERS=0  lets a test whose peer is missing (a
#                     pseudo-terminal, socat, pymodbus, tshark) skip instead of fail
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
# Everything the tests talk to has just been installed: a test that still
# misses its peer fails the run rather than passing by skipping.
DORVANE_REQUIRE_PEERS=${DORVANE_REQUIRE_PEERS:-1}
export DORVANE_REQUIRE_PEERS

JOBS=$(nproc 2>/dev/null || echo 2)
FUZZ_SECONDS=${FUZZ_SECONDS:-15}
SANITIZERS=${SANITIZERS:-1}

echo "== build and unit tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS" -LE package)

echo "== install and package consumer"
rm -rf build/stage build/consumer
cmake --install build --prefix "$PWD/build/stage" >/dev/null
cmake -S tests/package -B build/consumer -G Ninja -DCMAKE_PREFIX_PATH="$PWD/build/stage" >/dev/null
cmake --build build/consumer
test -x build/stage/bin/Dorvane
# dorvane-cli runs from its link without a widget library, and its program
# tests pass against the installed copy.
build/stage/bin/dorvane-cli --version
if ldd build/stage/lib/dorvane/dorvane-cli | grep -E 'Qt5(Gui|Widgets)'; then exit 1; fi
(cd build && DORVANE_CLI="$PWD/stage/bin/dorvane-cli" ctest --output-on-failure -R tst_cliprogram)
test -f build/stage/share/applications/dorvane.desktop
test -f build/stage/share/mime/packages/dorvane-mime.xml
test -x build/stage/bin/dorvane-devsim

echo "== Debian package"
# cpack builds the .deb; the test unpacks it, starts the program, runs lintian.
(cd build && ctest --output-on-failure -L package)

if [ "$SANITIZERS" != 0 ]; then
    echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORVANE_ASAN=ON \
        -DDORVANE_BUILD_BENCH=OFF -DDORVANE_BUILD_TOOLS=OFF >/dev/null
    cmake --build build-asan -j "$JOBS"
    # The soak runs keep their full counts in the plain build; here a fifth.
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 DORVANE_SOAK_CYCLES=200 ctest --output-on-failure -j "$JOBS" -LE package)

    echo "== ThreadSanitizer"
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVANE_TSAN=ON \
        -DDORVANE_BUILD_BENCH=OFF -DDORVANE_BUILD_TOOLS=OFF >/dev/null
    cmake --build build-tsan -j "$JOBS" --target tests_channel tests_threads
    (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --output-on-failure -j "$JOBS" -L 'channel|threads')
fi

if [ "$FUZZ_SECONDS" -gt 0 ]; then
    echo "== fuzzing, $FUZZ_SECONDS s per target"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DDORVANE_BUILD_FUZZ=ON -DDORVANE_BUILD_TESTS=OFF \
        -DDORVANE_BUILD_BENCH=OFF -DDORVANE_BUILD_TOOLS=OFF >/dev/null
    cmake --build build-fuzz -j "$JOBS" --target fuzz_all
    for target in build-fuzz/bin/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        corpus="fuzz/corpus/${name#fuzz_}"
        work=$(mktemp -d)
        [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
        echo "-- $name"
        rc=0
        "$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 "$work" >"$work.log" 2>&1 || rc=$?
        tail -n 12 "$work.log"
        if [ "$rc" -ne 0 ]; then
            cat "$work.log" | tail -n 80
            echo "fuzz target $name failed"
            exit 1
        fi
        rm -rf "$work" "$work.log"
    done
fi
echo "== all tests passed"
