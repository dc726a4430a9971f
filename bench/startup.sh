#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Zentu developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of zentu against a Qt program that shows only the same About box:
# time from process start until "О программе" is mapped, and peak RSS by then.
#   bench/startup.sh [BUILD_DIR] [RUNS]     (defaults: build, 10)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/x11.sh"
build=${1:-$top/build}
runs=${2:-10}
work=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export HOME="$work" XDG_RUNTIME_DIR="$work" XDG_STATE_HOME="$work/state"

# One start: prints "milliseconds kilobytes".
measure_once() {
    local start end child
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$1" &
    until window_titled "О программе" >/dev/null; do
        kill -0 $! 2>/dev/null || {
            echo "$1 ended before its About box appeared" >&2
            exit 1
        }
        sleep 0.002
    done
    end=$(date +%s%N)
    child=$(pgrep -P $! || true)
    kill -TERM "$child" 2>/dev/null || true
    wait $! 2>/dev/null || true
    echo "$(((end - start) / 1000000)) $(tail -n 1 "$work/rss")"
}

# median min max of the numbers on standard input
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "%d %d %d\n", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[1], v[NR] }'; }

declare -A time_stats rss_stats
for program in zentu about_only; do
    binary="$build/src/zentu"
    [ $program = about_only ] && binary="$build/bench/about_only"
    measure_once "$binary" >/dev/null # warm the caches
    : >"$work/$program"
done
# Interleaved, so that both see the same machine.
for ((i = 0; i < runs; i++)); do
    measure_once "$build/src/zentu" >>"$work/zentu"
    measure_once "$build/bench/about_only" >>"$work/about_only"
done
for program in zentu about_only; do
    time_stats[$program]=$(cut -d' ' -f1 "$work/$program" | stats)
    rss_stats[$program]=$(cut -d' ' -f2 "$work/$program" | stats)
done

echo "start-up until the About box is mapped, $runs runs each (Xvfb, $(nproc) cores)"
printf '%-12s %10s %8s %8s %14s\n' "" "median ms" "min ms" "max ms" "peak RSS KiB"
for program in zentu about_only; do
    read -r med min max <<<"${time_stats[$program]}"
    read -r rss _ <<<"${rss_stats[$program]}"
    printf '%-12s %10d %8d %8d %14d\n' "$program" "$med" "$min" "$max" "$rss"
done
read -r zt _ <<<"${time_stats[zentu]}"
read -r at _ <<<"${time_stats[about_only]}"
read -r zr _ <<<"${rss_stats[zentu]}"
read -r ar _ <<<"${rss_stats[about_only]}"
awk -v zt="$zt" -v at="$at" -v zr="$zr" -v ar="$ar" \
    'BEGIN { printf "ratio        time %.2f, memory %.2f (target: at most 1.10 each)\n", zt / at, zr / ar }'
