#!/bin/sh
# Runs every case of the application and widget test programs on its own,
# one process per case, offscreen, so that no case passes only because an
# earlier one left the state it needs; then each program's cases once in
# reverse order ("@reverse"), so that none fails for a later one's leftovers.
#
#   tools/run-cases-alone.sh BUILD_DIR [program...]
#
# Without programs: every Qt Test program built from tests/app and
# tests/widgets. A program is a name in BUILD_DIR/tests/bin or a path, and
# may carry arguments that go before the case name ("tst_x --some-mode").
#   CASE_JOBS     cases run at once (default 2)
#   CASE_TIMEOUT  seconds one run may take (default 120)
# Prints each failing run with the end of its output and exits 1 when any
# failed.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [program...]" >&2
    exit 2
fi
BUILD_DIR=$(cd "$1" && pwd)
shift
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BIN_DIR="$BUILD_DIR/tests/bin"
CASE_JOBS=${CASE_JOBS:-2}
CASE_TIMEOUT=${CASE_TIMEOUT:-120}
export QT_QPA_PLATFORM=offscreen

if [ $# -eq 0 ]; then
    for source in "$SOURCE_DIR"/tests/app/tst_*.cpp "$SOURCE_DIR"/tests/widgets/tst_*.cpp; do
        name=$(basename "$source" .cpp)
        case "$name" in
        # One start of the whole program per run, on its own arguments:
        # alone already, and not a Qt Test program.
        tst_commandline) continue ;;
        # The same, except for its start-up cases, which are one.
        tst_runapplication) name="$name --start-up-cases" ;;
        esac
        set -- "$@" "$name"
    done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# One line per run: "tag path case [arguments...]", the tag naming the
# program (with its arguments) in logs and reports.
: >"$work/runs"
for spec in "$@"; do
    program=${spec%% *}
    arguments=
    if [ "$program" != "$spec" ]; then arguments=${spec#* }; fi
    case "$program" in
    */*) path=$program ;;
    *) path="$BIN_DIR/$program" ;;
    esac
    tag=$(basename "$program")
    if [ -n "$arguments" ]; then tag="$tag$(echo "$arguments" | tr -c 'A-Za-z0-9_\n-' '_')"; fi
    if [ ! -x "$path" ]; then
        echo "FAIL $spec: not built ($path)"
        echo "$spec" >>"$work/missing"
        continue
    fi
    # shellcheck disable=SC2086 # the arguments are words
    if ! "$path" $arguments -functions >"$work/functions" 2>"$work/functions.err" </dev/null; then
        echo "FAIL $spec: cannot list its cases"
        cat "$work/functions.err"
        echo "$spec" >>"$work/missing"
        continue
    fi
    list="$work/$tag.functions"
    sed -n 's/^\([A-Za-z_][A-Za-z0-9_]*\)()$/\1/p' "$work/functions" >"$list"
    while read -r name; do
        # No blank at the end: xargs -L would join the next line to it.
        echo "$tag $path $name${arguments:+ $arguments}"
    done <"$list" >>"$work/runs"
    if [ "$(wc -l <"$list")" -gt 1 ]; then echo "$tag $path @reverse${arguments:+ $arguments}" >>"$work/runs"; fi
done

total=$(wc -l <"$work/runs")
mkdir "$work/failed"
# Each run writes its output to a file of its own; a failing one leaves it
# in failed/ for the report below.
# shellcheck disable=SC2016 # the runner expands its own arguments
xargs -P "$CASE_JOBS" -L 1 sh -c '
    work=$1 limit=$2 tag=$3 path=$4 name=$5
    shift 5
    out="$work/$tag.$name.log"
    if [ "$name" = @reverse ]; then
        set -- "$@" $(tac "$work/$tag.functions")
    else
        set -- "$@" "$name"
    fi
    rc=0
    timeout -k 10 "$limit" "$path" "$@" >"$out" 2>&1 </dev/null || rc=$?
    if [ "$rc" -ne 0 ]; then
        mv "$out" "$work/failed/$tag.$name.log"
        echo "FAIL $tag $name (exit $rc)"
    else
        rm -f "$out"
    fi
' sh "$work" "$CASE_TIMEOUT" <"$work/runs" || true

failed=0
for log in "$work"/failed/*.log; do
    [ -f "$log" ] || continue
    failed=$((failed + 1))
    echo "---- $(basename "$log" .log)"
    grep -E '^(FAIL!|   Loc:|QFATAL)' "$log" | head -n 20 || true
    tail -n 5 "$log"
done
echo "$total runs (each case alone, each program once reversed), $failed failed"
[ "$failed" -eq 0 ] && [ ! -f "$work/missing" ]
