#!/usr/bin/env bash
# Benchmark of the requirements scan and of Create with many libraries, run by
# hand as root on Debian 12 (not part of the test suite). It builds the
# command-line tool of the current commit and of an earlier one (BEFORE_REV,
# by default the commit before the faster scan), then
#  1. scans a world of the system's Qt libraries and plug-ins copied into
#     target folders, against a private RPM database whose no-arch packages
#     own every library they load, with both tools;
#  2. runs Create in the manual mode with 10,000 libraries over 1,000 targets
#     and a project file selecting all of them, with both tools;
# and prints both times, the ratio, and whether the results are identical.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BEFORE_REV=${BEFORE_REV:-4b7bc47}
AFTER_REV=${AFTER_REV:-HEAD}
RUNS=${RUNS:-5}
PLUGIN_PACKAGES=(qt5-image-formats-plugins libqt5sql5-psql libqt5sql5-odbc libqt5sql5-mysql
                 qtwayland5 libqt5svg5 qt5-gtk-platformtheme)
TOOL_PACKAGES=(cmake g++ make qtbase5-dev rpm git)
ARCH_LIBS=/usr/lib/$(gcc -print-multiarch)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kestrelvantory-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

install_packages() {
    local missing=()
    for package in "$@"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# shellcheck source=buildtool.sh
source "$ROOT/bench/buildtool.sh"

# The Qt libraries go to "lib", each plug-in folder to a target of its name.
make_world() {
    local shared=$WORK/shared
    mkdir -p "$shared/lib"
    cp "$ARCH_LIBS"/libQt5*.so.5 "$shared/lib/"
    for folder in "$ARCH_LIBS"/qt5/plugins/*/; do
        local target
        target=$(basename "$folder")
        mkdir -p "$shared/$target"
        cp "$folder"*.so "$shared/$target/"
    done
}

library_record() {
    printf '    <Library><Target_Name>%s</Target_Name><Name>%s</Name><Type>%s</Type><Checked>%s</Checked></Library>\n' "$@"
}

target_record() {
    printf '    <Target><Name>%s</Name><Checked>%s</Checked></Target>\n' "$@"
}

# A data folder whose active targets are the world's folders.
make_scan_data() {
    local data=$WORK/scan-data
    mkdir -p "$data"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<Library_Data File_Version="1">'
        echo '  <Targets>'
        for folder in "$WORK"/shared/*/; do target_record "$(basename "$folder")" Yes; done
        echo '  </Targets>'
        echo '  <Libraries>'
        for folder in "$WORK"/shared/*/; do
            library_record "$(basename "$folder")" "$(ls "$folder" | head -n 1)" PLUGIN Yes
        done
        echo '  </Libraries>'
        echo '</Library_Data>'
    } >"$data/libraries.xml"
}

# One no-arch package per Debian package that holds the libraries the world
# loads, owning their paths as ldd prints them; the C library's is "glibc".
make_rpm_database() {
    local home=$WORK/home
    mkdir -p "$home"
    printf '%%_dbpath %s/rpmdb\n%%_topdir %s/rpmbuild\n' "$home" "$home" >"$home/.rpmmacros"
    find "$WORK/shared" -type f -exec ldd {} \; 2>/dev/null |
        sed -n 's/^.* => \(\/[^ ]*\) (.*$/\1/p' | grep -v 'libQt[456]' | sort -u >"$WORK/loaded"
    owners >"$WORK/owners"
    local spec=$WORK/owners.spec
    {
        printf 'Name: glibc\nVersion: 1.0\nRelease: 1\nSummary: owners\nLicense: none\n'
        printf 'BuildArch: noarch\nAutoReqProv: no\n%%global debug_package %%{nil}\n'
        printf '%%global __os_install_post %%{nil}\n%%description\nowners\n'
        while read -r package; do
            [ "$package" = glibc ] && continue
            printf '%%package -n %s\nSummary: %s\n%%description -n %s\n%s\n' \
                "$package" "$package" "$package" "$package"
        done < <(cut -d' ' -f1 "$WORK/owners" | sort -u)
        printf '%%install\n'
        while read -r path; do
            printf 'mkdir -p %%{buildroot}%s && touch %%{buildroot}%s\n' "$(dirname "$path")" "$path"
        done <"$WORK/loaded"
        while read -r package; do
            [ "$package" = glibc ] && printf '%%files\n' || printf '%%files -n %s\n' "$package"
            awk -v p="$package" '$1 == p { print $2 }' "$WORK/owners"
        done < <(cut -d' ' -f1 "$WORK/owners" | sort -u)
    } >"$spec"
    HOME=$home rpmbuild -bb --quiet "$spec" >/dev/null
    HOME=$home rpm -i --justdb --nodeps --noscripts "$home"/rpmbuild/RPMS/noarch/*.rpm
}

# "package path" for each loaded library, by the Debian package that holds it.
owners() {
    while read -r path; do
        local package
        package=$(dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1 || true)
        [ -z "$package" ] && package=$(dpkg -S "$(realpath "$path")" 2>/dev/null | head -n 1 | cut -d: -f1 || true)
        [ -z "$package" ] && package=unpackaged
        [ "$package" = libc6 ] && package=glibc
        echo "$package $path"
    done <"$WORK/loaded"
}

# 10,000 libraries over 1,000 targets, all selected by a project file.
make_create_data() {
    local data=$WORK/create-data project=$WORK/create.spec_data
    mkdir -p "$data"
    printf '<?xml version="1.0" encoding="utf-8"?>\n<Options File_Version="1">\n' >"$data/options.xml"
    printf '  <Make_Generator>Generator_CMake</Make_Generator>\n' >>"$data/options.xml"
    printf '  <Requires_Option>Requires_Manual_Update</Requires_Option>\n</Options>\n' >>"$data/options.xml"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<Library_Data File_Version="1">'
        echo '  <Targets>'
        for ((t = 999; t >= 0; t--)); do target_record "t$t" No; done
        echo '  </Targets>'
        echo '  <Libraries>'
        for ((t = 999; t >= 0; t--)); do
            for ((l = 0; l < 10; l++)); do library_record "t$t" "libt${t}n$l.so.1.2.3" DYLIB No; done
        done
        echo '  </Libraries>'
        echo '</Library_Data>'
    } >"$data/libraries.xml"
    {
        printf 'Kestrelvantory:Version=1:Type=Spec_Data\n\nActive_Targets_Begin:\n'
        for ((t = 0; t < 1000; t++)); do echo "t$t"; done
        printf 'Active_Targets_End:\n\nActive_Libraries_Begin:\n'
        for ((t = 0; t < 1000; t++)); do
            echo "[Target]:t$t"
            for ((l = 0; l < 10; l++)); do echo "[Dylib]:libt${t}n$l.so"; done
        done
        printf 'Active_Libraries_End:\n'
    } >"$project"
}

elapsed_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# The median of RUNS timings, after one run that warms the caches.
median_ms() {
    local times=()
    "$@" >/dev/null 2>&1 || true
    for ((run = 0; run < RUNS; run++)); do times+=("$(elapsed_ms "$@")"); done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p"
}

report() {
    local what=$1 before=$2 after=$3 same=$4
    echo "$what: before ${before} ms, after ${after} ms, $(awk -v b="$before" -v a="$after" \
        'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }')x faster; identical: $same"
}

scan_with() {
    HOME=$WORK/home "$WORK/$1/build/kestrelvantory-cli" requires --data-folder "$WORK/scan-data" \
        --shared-libs "$WORK/shared"
}

create_with() {
    HOME=$WORK/home "$WORK/$1/build/kestrelvantory-cli" create --data-folder "$WORK/create-data" \
        --project "$WORK/create.spec_data" --output "$WORK/$1.spec"
}

install_packages "${TOOL_PACKAGES[@]}" "${PLUGIN_PACKAGES[@]}"
echo "Building the command-line tool of $BEFORE_REV and of $AFTER_REV..."
build_tool before "$BEFORE_REV"
build_tool after "$AFTER_REV"

make_world
make_scan_data
make_rpm_database
echo "World: $(find "$WORK/shared" -type f | wc -l) files in $(ls "$WORK/shared" | wc -l) target folders," \
    "$(wc -l <"$WORK/loaded") libraries loaded, owned by" \
    "$(HOME=$WORK/home rpm -qa | wc -l) packages; $(nproc) cores."
scan_with before >"$WORK/before.packages" 2>"$WORK/before.err" || true
scan_with after >"$WORK/after.packages" 2>"$WORK/after.err" || true
echo "Packages found: $(wc -l <"$WORK/after.packages")"
cmp -s "$WORK/before.packages" "$WORK/after.packages" && same=yes || same=no
report "Requirements scan" "$(median_ms scan_with before)" "$(median_ms scan_with after)" "$same"

make_create_data
create_with before
create_with after
cmp -s "$WORK/before.spec" "$WORK/after.spec" && same=yes || same=no
report "Create, 10,000 libraries over 1,000 targets" "$(median_ms create_with before)" \
    "$(median_ms create_with after)" "$same (spec of $(wc -l <"$WORK/after.spec") lines)"
