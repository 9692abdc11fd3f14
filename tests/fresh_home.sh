#!/bin/sh
# Runs one test program headless, with HOME pointed at a fresh folder that is
# removed afterwards, so no real ~/.kestrelvantory is ever touched.
home=$(mktemp -d "${TMPDIR:-/tmp}/kestrelvantory-test.XXXXXX") || exit 1
trap 'rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home QT_QPA_PLATFORM=offscreen "$@"
