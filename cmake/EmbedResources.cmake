# Turns the files named in LIST (one "TYPE|NAME|PATH" line each) into a C++ source that
# holds their bytes as constant arrays and a table to find them by type and name.
# Run in script mode: cmake -DLIST=... -DOUTPUT=... -P EmbedResources.cmake
file(STRINGS "${LIST}" entries)
set(arrays "")
set(table "")
set(index 0)
foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 2 path)
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Break the initialiser into lines of 32 bytes so compilers and editors stay comfortable.
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
    # An empty file still needs one element; its recorded size stays 0.
    if(size EQUAL 0)
        set(bytes "0x00")
    endif()
    string(APPEND arrays "alignas(4) const unsigned char kResource${index}[] = {\n${bytes}\n};\n")
    string(APPEND table "    {\"${type}\", \"${name}\", kResource${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from the files in resources/ by cmake/EmbedResources.cmake. Do not edit.
#include \"core/posix/embedded_resource_table.h\"

namespace tavlo {
namespace {
${arrays}}  // namespace

const EmbeddedResource kEmbeddedResources[] = {
${table}};
const std::size_t kEmbeddedResourceCount = ${index};
}  // namespace tavlo
")
# Only touch the output when it changed, so a rebuild does not recompile it for nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
