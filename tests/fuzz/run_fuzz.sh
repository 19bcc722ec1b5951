#!/bin/sh
# Runs one fuzz target: replays its seed corpus, then fuzzes for SECONDS, keeping what it finds
# in FOUND/<target> (new inputs) and FOUND/crash-* (inputs that failed).
# Usage: run_fuzz.sh BUILD_DIR TARGET SECONDS FOUND_DIR [libFuzzer options]
set -eu
build=$1 target=$2 seconds=$3 found=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$found/$target"
exec "$build/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len=4096 -dict="$here/$target.dict" -artifact_prefix="$found/" -print_final_stats=1 \
    "$@" "$found/$target" "$here/corpus/$target"
