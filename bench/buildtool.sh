# Sourced by the benchmarks: builds the command-line tool of one commit of
# the repository at $ROOT into $WORK/<name>/build (Release, with ccache when
# it is there).
build_tool() {
    local name=$1 rev=$2 launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    mkdir -p "$WORK/$name/source"
    git -C "$ROOT" archive "$rev" | tar -x -C "$WORK/$name/source"
    cmake -S "$WORK/$name/source" -B "$WORK/$name/build" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
    CCACHE_BASEDIR="$WORK" cmake --build "$WORK/$name/build" --target kestrelvantory-cli \
        --parallel "$(nproc)" >/dev/null
}
