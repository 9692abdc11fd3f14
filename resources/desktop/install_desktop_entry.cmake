# Run by `cmake --install`: writes the desktop entry for the prefix being
# installed to, so that the menu starts the installed editor even when its
# folder is not on PATH. Expects KV_DESKTOP_TEMPLATE and KV_DESKTOP_STAGING.
get_filename_component(kv_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(kv_exec "${kv_prefix}/bin/kestrelvantory")

# A path with characters the Exec key reserves is quoted, its reserved
# characters escaped, and every backslash doubled once more as in any value.
if(NOT kv_exec MATCHES "^[A-Za-z0-9/._+,@=-]+$")
    string(REPLACE "\\" "\\\\" kv_exec "${kv_exec}")
    string(REPLACE "\"" "\\\"" kv_exec "${kv_exec}")
    string(REPLACE "`" "\\`" kv_exec "${kv_exec}")
    string(REPLACE "$" "\\$" kv_exec "${kv_exec}")
    set(kv_exec "\"${kv_exec}\"")
    string(REPLACE "\\" "\\\\" kv_exec "${kv_exec}")
endif()
string(REPLACE "%" "%%" kv_exec "${kv_exec}")

file(READ "${KV_DESKTOP_TEMPLATE}" kv_entry)
string(REPLACE "@EXEC@" "${kv_exec}" kv_entry "${kv_entry}")
file(WRITE "${KV_DESKTOP_STAGING}/kestrelvantory.desktop" "${kv_entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${KV_DESKTOP_STAGING}/kestrelvantory.desktop")
