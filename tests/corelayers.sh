#!/usr/bin/env bash
# The folders of core/ form layers: no folder includes, directly or through
# others, a folder that includes it back. On a cycle, prints the includes
# between the folders in it and fails.
set -euo pipefail

core=${1:?usage: corelayers.sh <core folder>}
cd "$core"

# "from to" for each include of one core folder by another.
edges=$(grep -o '^#include "[A-Za-z0-9_]*/' -r --include='*.h' --include='*.cpp' . |
        sed 's#^\./\([^/]*\)/[^:]*:\#include "\([^/]*\)/#\1 \2#' |
        awk '$1 != $2' | sort -u)

# Peels off the folders that include no folder still left, and those that no
# folder still left includes; what remains holds a cycle.
while [ -n "$edges" ]; do
    left=$(echo "$edges" | awk '
        { edge[NR] = $0; from[$1] = 1; to[$2] = 1 }
        END {
            for (i = 1; i <= NR; i++) {
                split(edge[i], e, " ")
                if ((e[2] in from) && (e[1] in to)) print edge[i]
            }
        }')
    if [ "$left" = "$edges" ]; then
        echo "core folders in or between include cycles (folder, folder it includes):" >&2
        echo "$edges" >&2
        exit 1
    fi
    edges=$left
done
