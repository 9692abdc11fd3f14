#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kestrelvantory, builds it, and then either
# starts the editor (`./build.sh run`) or runs every test (`./build.sh test`).
# The tests run on a build of their own, made with clang under AddressSanitizer
# and UndefinedBehaviorSanitizer, which also fuzzes the file readers.
set -euo pipefail

cd "$(dirname "$0")"
BUILD_DIR=${BUILD_DIR:-build}
TEST_BUILD_DIR=${TEST_BUILD_DIR:-build-test}

# Debian packages the build and the tests need.
PACKAGES=(
    cmake g++ make pkg-config locales libexpat1-dev
    qtbase5-dev qtbase5-dev-tools
    qt6-base-dev qt6-qpa-plugins
    libqt5svg5-dev qt6-svg-dev
    xvfb xauth
    rpm rpmlint patchelf busybox-static binutils cpio
    createrepo-c gnupg dnf zypper
    desktop-file-utils appstream git ccache
    clang libclang-rt-14-dev
    qtdeclarative5-dev qtdeclarative5-dev-tools qml-module-qtquick2
    qml-module-qtquick-controls2 qml-module-qtquick-layouts qml-module-qtquick-window2
    qml-module-qtquick-templates2
    qt6-declarative-dev qt6-declarative-dev-tools qml6-module-qtquick qml6-module-qtquick-controls
    qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtquick-templates
    qml6-module-qtqml-workerscript
)

usage() {
    echo "usage: $0 run|test" >&2
    exit 2
}

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# A German system locale, under which the change-log dates are tested once
# more: they must stay English whatever the locale.
TEST_LOCALE=de_DE.UTF-8

generate_test_locale() {
    if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
        return 0
    fi
    echo "Generating the locale $TEST_LOCALE"
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" localedef -i de_DE -c -f UTF-8 "$TEST_LOCALE"
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

build_for_tests() {
    CC=clang CXX=clang++ cmake -S . -B "$TEST_BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug \
        -DKV_SANITIZE=ON -DKV_FUZZ=ON
    cmake --build "$TEST_BUILD_DIR" --parallel "$(nproc)"
}

run_editor() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "There is no display to show the editor on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
        echo "To run it under a virtual X server, use:  xvfb-run -a $BUILD_DIR/kestrelvantory" >&2
        exit 1
    fi
    exec "$BUILD_DIR/kestrelvantory"
}

run_tests() {
    ctest --test-dir "$TEST_BUILD_DIR" --output-on-failure --parallel "$(nproc)"
}

[ $# -eq 1 ] || usage
case "$1" in
    run|test) ;;
    *) usage ;;
esac

install_missing_packages
if [ "$1" = run ]; then
    build
    run_editor
else
    generate_test_locale
    build_for_tests
    run_tests
fi
