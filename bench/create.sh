#!/usr/bin/env bash
# Benchmark of Create with 10,000 libraries of distinct names, run by hand on
# Debian 12 (not part of the test suite). It builds the command-line tool of
# AFTER_REV (by default the current commit) and, when BEFORE_REV is given, of
# that commit too; makes a data folder of 10,000 libraries over 1,000
# targets (a libraries.xml of about 1.3 MB) with a project file selecting all
# of them; runs Create in the manual mode RUNS times with each tool (at most
# LIMIT seconds a run) and prints the median times, their ratio, and whether
# the specs are identical.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BEFORE_REV=${BEFORE_REV:-}
AFTER_REV=${AFTER_REV:-HEAD}
RUNS=${RUNS:-5}
LIMIT=${LIMIT:-900}
TARGETS=1000
PER_TARGET=10

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kestrelvantory-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# shellcheck source=buildtool.sh
source "$ROOT/bench/buildtool.sh"

library_record() {
    printf '    <Library><Target_Name>%s</Target_Name><Name>%s</Name><Type>%s</Type><Checked>%s</Checked></Library>\n' "$@"
}

# Every library of its own name ("libt12n3.so.1.2.3"), so that each is a
# distinct versioned base name in the spec's __requires_exclude line.
make_create_data() {
    local data=$WORK/data project=$WORK/create.spec_data
    mkdir -p "$data"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<Options File_Version="1">'
        echo '  <Make_Generator>Generator_CMake</Make_Generator>'
        echo '  <Requires_Option>Requires_Manual_Update</Requires_Option>'
        echo '</Options>'
    } >"$data/options.xml"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<Library_Data File_Version="1">'
        echo '  <Targets>'
        for ((t = 0; t < TARGETS; t++)); do
            printf '    <Target><Name>t%s</Name><Checked>No</Checked></Target>\n' "$t"
        done
        echo '  </Targets>'
        echo '  <Libraries>'
        for ((t = 0; t < TARGETS; t++)); do
            for ((l = 0; l < PER_TARGET; l++)); do
                library_record "t$t" "libt${t}n$l.so.1.2.3" DYLIB No
            done
        done
        echo '  </Libraries>'
        echo '</Library_Data>'
    } >"$data/libraries.xml"
    {
        printf 'Kestrelvantory:Version=1:Type=Spec_Data\n\nActive_Targets_Begin:\n'
        for ((t = 0; t < TARGETS; t++)); do echo "t$t"; done
        printf 'Active_Targets_End:\n\nActive_Libraries_Begin:\n'
        for ((t = 0; t < TARGETS; t++)); do
            echo "[Target]:t$t"
            for ((l = 0; l < PER_TARGET; l++)); do echo "[Dylib]:libt${t}n$l.so"; done
        done
        printf 'Active_Libraries_End:\n'
    } >"$project"
}

create_with() {
    HOME=$WORK/home timeout "$LIMIT" "$WORK/$1/build/kestrelvantory-cli" create \
        --data-folder "$WORK/data" --project "$WORK/create.spec_data" --output "$WORK/$1.spec"
}

# The median of RUNS timings in milliseconds, or "over LIMIT s".
median_ms() {
    local times=() start end
    for ((run = 0; run < RUNS; run++)); do
        start=$(date +%s%N)
        if ! create_with "$1" >/dev/null 2>"$WORK/$1.err"; then
            echo "failed or over ${LIMIT} s: $(head -c 300 "$WORK/$1.err")"
            return
        fi
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p"
}

tools=(after)
[ -n "$BEFORE_REV" ] && tools=(before after)
echo "Building the command-line tool of ${BEFORE_REV:+$BEFORE_REV and of }$AFTER_REV..."
[ -n "$BEFORE_REV" ] && build_tool before "$BEFORE_REV"
build_tool after "$AFTER_REV"
make_create_data
echo "Data: $((TARGETS * PER_TARGET)) libraries over $TARGETS targets, libraries.xml of" \
    "$(($(stat -c %s "$WORK/data/libraries.xml") / 1024)) KiB; $(nproc) cores; median of $RUNS runs."

declare -A median
for tool in "${tools[@]}"; do
    median[$tool]=$(median_ms "$tool")
    echo "Create with $tool ($([ "$tool" = before ] && echo "$BEFORE_REV" || echo "$AFTER_REV")):" \
        "${median[$tool]} ms"
done
if [ -n "$BEFORE_REV" ] && [[ ${median[before]} =~ ^[0-9]+$ ]] && [[ ${median[after]} =~ ^[0-9]+$ ]]; then
    cmp -s "$WORK/before.spec" "$WORK/after.spec" && same=yes || same=no
    echo "Ratio: $(awk -v b="${median[before]}" -v a="${median[after]}" \
        'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }')x faster; identical specs: $same" \
        "($(wc -l <"$WORK/after.spec") lines)"
fi
