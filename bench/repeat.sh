#!/usr/bin/env bash
# Benchmark of repeated "package" runs, run by hand on Debian 12 (not part of
# the test suite). It builds the command-line tool of AFTER_REV (by default
# the current commit); generates a Qt Widgets program of UNITS source files
# heavy enough that compiling it takes a minute or more, and builds it with
# qmake; sets the packaging up once with init; then times three "package"
# runs with a fresh HOME (so an empty compiler cache): the first, one with
# nothing changed, and one with the release bumped. It prints the times and
# their ratios to the first run (the goals: at most 0.25 and 0.5).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
AFTER_REV=${AFTER_REV:-HEAD}
UNITS=${UNITS:-12}
LIMIT=${LIMIT:-1800}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kestrelvantory-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# shellcheck source=buildtool.sh
source "$ROOT/bench/buildtool.sh"

# Each unit instantiates a few hundred template functions over Qt types, so
# that it takes seconds to compile.
make_unit() {
    local n=$1
    cat <<CPP
#include <QtWidgets>
#include <map>
#include <tuple>
#include <vector>

namespace unit$n
{
template <int N> struct Step
{
    static QString Text(const std::map<QString, std::vector<int>>& values)
    {
        QStringList lines;
        for (const auto& value : values)
            lines << value.first + QString::number(value.second.size() + N);
        return Step<N - 1>::Text(values) + lines.join(',');
    }
};
template <> struct Step<0>
{
    static QString Text(const std::map<QString, std::vector<int>>&) { return QString(); }
};
}

QString unit${n}_text()
{
    std::map<QString, std::vector<int>> values{{"a", {1, 2}}, {"b", {3}}};
    return unit$n::Step<300>::Text(values) + QWidget().objectName();
}
CPP
}

make_program() {
    local source=$WORK/program
    mkdir -p "$source"
    {
        echo '#include <QApplication>'
        echo '#include <QLabel>'
        for ((n = 0; n < UNITS; n++)); do echo "QString unit${n}_text();"; done
        echo 'int main(int argc, char** argv)'
        echo '{'
        echo '    QApplication application(argc, argv);'
        echo '    QString text;'
        for ((n = 0; n < UNITS; n++)); do echo "    text += unit${n}_text().left(1);"; done
        echo '    QLabel label(text);'
        echo '    return argc > 1 ? application.exec() : 0;'
        echo '}'
    } >"$source/main.cpp"
    local sources="main.cpp"
    for ((n = 0; n < UNITS; n++)); do
        make_unit "$n" >"$source/unit$n.cpp"
        sources="$sources unit$n.cpp"
    done
    cat >"$source/heavy.pro" <<PRO
QT = core gui widgets
TARGET = heavy
SOURCES = $sources
target.path = \$\$PREFIX
INSTALLS += target
PRO
    mkdir -p "$WORK/program-build"
    (cd "$WORK/program-build" && qmake "$source/heavy.pro" >/dev/null &&
        make -s -j"$(nproc)" >/dev/null 2>&1)
}

make_setup() {
    local top=$WORK/top
    mkdir -p "$top/desktop_menu" "$WORK/home"
    printf '[Desktop Entry]\nType=Application\nName=Heavy\nExec=heavy\n' \
        >"$top/desktop_menu/heavy.desktop"
    python3 - "$top/desktop_menu/heavy.png" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + b"\x20\x80\xc0\xff" * 32 for _ in range(32))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 32, 32, 8, 6, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open(sys.argv[1], "wb").write(png)
PY
    HOME=$WORK/home "$WORK/after/build/kestrelvantory-cli" init --data-folder "$WORK/data" \
        --set "%define _topdir=$top" --set "%define name=heavy" --generator qmake \
        --requirements ignore --program "$WORK/program-build/heavy" --source "$WORK/program"
}

# One package run's wall time in milliseconds, or "failed".
package_ms() {
    local start end
    start=$(date +%s%N)
    if ! HOME=$WORK/home timeout "$LIMIT" "$WORK/after/build/kestrelvantory-cli" package \
        --data-folder "$WORK/data" "$@" >"$WORK/report" 2>"$WORK/log"; then
        echo "failed: $(tail -c 600 "$WORK/report")"
        return
    fi
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

ratio() {
    awk -v part="$1" -v whole="$2" 'BEGIN { printf "%.2f", (whole > 0 ? part / whole : 0) }'
}

echo "Building the command-line tool of $AFTER_REV..."
build_tool after "$AFTER_REV"
echo "Generating and building a program of $((UNITS + 1)) source files..."
start=$(date +%s%N)
make_program
echo "Its compile took $((($(date +%s%N) - start) / 1000000)) ms with make -j$(nproc)."
make_setup

first=$(package_ms)
echo "First run: $first ms"
unchanged=$(package_ms)
echo "Unchanged run: $unchanged ms ($(grep -c 'the package is current' "$WORK/report" || true)" \
    "report line saying the package is current)"
bumped=$(package_ms --set "%define release=2")
echo "Release bumped: $bumped ms"
if [[ $first =~ ^[0-9]+$ && $unchanged =~ ^[0-9]+$ && $bumped =~ ^[0-9]+$ ]]; then
    echo "Ratios to the first run: unchanged $(ratio "$unchanged" "$first")," \
        "bumped $(ratio "$bumped" "$first"); $(nproc) cores."
fi
