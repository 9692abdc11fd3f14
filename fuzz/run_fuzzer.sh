#!/bin/sh
# Runs a fuzz target for a bounded time, starting from its seed inputs:
#   run_fuzzer.sh TARGET SEED_FOLDER SECONDS
# New inputs go to a temporary folder, never into the seed folder; an input
# that makes the target fail is kept as "crash-*" (or "leak-*", "timeout-*")
# in the current folder and named in the output.
set -eu
[ $# -eq 3 ] || { echo "usage: $0 TARGET SEED_FOLDER SECONDS" >&2; exit 2; }
target=$1
seeds=$2
seconds=$3
corpus=$(mktemp -d "${TMPDIR:-/tmp}/kestrelvantory-fuzz.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 "$corpus" "$seeds"
