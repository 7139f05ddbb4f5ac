# Writes the Windows build's resource script for windres: TEMPLATE with its RESOURCES placeholder
# replaced by one statement for each file named in LIST (one "TYPE|NAME|PATH" line each).
# Run in script mode: cmake -DLIST=... -DTEMPLATE=... -DOUTPUT=... -P WindowsResources.cmake
#
# A name "#132" becomes resource 132; any other name is text. A type of digits is a numbered type
# ("23"); BITMAP and ICON are the predefined types (windres drops a bitmap file's 14-byte header
# and splits an icon file into its images); any other text is a named type. Texts are written in
# capitals, the form the loader looks names up in, and without quotes: windres joins a quoted
# name to the quoted file name that ends the statement before it. Type 16, the version, is a
# VERSIONINFO statement whose body is the file.
file(STRINGS "${LIST}" entries)
set(RESOURCES "")
foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 2 path)
    string(TOUPPER "${type}" type)
    string(TOUPPER "${name}" name)
    if(name MATCHES "^#([0-9]+)$")
        set(name "${CMAKE_MATCH_1}")
    endif()
    foreach(text IN ITEMS "${name}" "${type}")
        if(NOT text MATCHES "^([0-9]+|[A-Z_][A-Z0-9_.]*)$")
            message(FATAL_ERROR "${text}: a resource script cannot name a resource so unquoted")
        endif()
    endforeach()
    if(type STREQUAL "16")
        file(READ "${path}" body)
        string(APPEND RESOURCES "${name} VERSIONINFO\n${body}\n")
    else()
        string(APPEND RESOURCES "${name} ${type} \"${path}\"\n")
    endif()
endforeach()
file(READ "${TEMPLATE}" template)
string(CONFIGURE "${template}" script @ONLY)
# Written every time the inputs change, so windres, which does not track the files the script
# names, compiles it again.
file(WRITE "${OUTPUT}" "${script}")
