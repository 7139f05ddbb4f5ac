# tavlo_add_library(NAME SOURCES... [PUBLIC libs...] [PRIVATE libs...])
# One library of a layer: its headers are included as "<folder>/<file>.h" from the project root.
function(tavlo_add_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;PUBLIC;PRIVATE")
    add_library(${name} STATIC ${arg_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
endfunction()

# tavlo_add_test(NAME SOURCES... LIBS... LABELS... [QT_CLASSES classes...] [DEFINES defs...]
#                [DEPENDS targets...])
# A test executable and its CTest tests. GoogleTest cases are discovered one by one, named
# "NAME.<suite>.<case>"; a QtTest executable runs once per class in QT_CLASSES ("NAME.<class>").
# Every test runs with the offscreen Qt platform and no per-user settings, and carries the given
# labels, so "ctest -L fast" is the quick loop.
function(tavlo_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT" "SOURCES;LIBS;LABELS;QT_CLASSES;DEFINES;DEPENDS")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    if(arg_DEFINES)
        target_compile_definitions(${name} PRIVATE ${arg_DEFINES})
    endif()
    if(arg_DEPENDS)
        add_dependencies(${name} ${arg_DEPENDS})
    endif()
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 300)
    endif()
    # The tester's own per-user settings (~/.config/tavlo) must not leak into a test, and no
    # test may leave any behind for the next: the configuration folder is one that can never
    # exist, unless a test points elsewhere itself. (A property of its own: a second
    # ENVIRONMENT entry would not survive test discovery.)
    set(noUserSettings "XDG_CONFIG_HOME=set:/dev/null/no-user-config")
    if(arg_QT_CLASSES)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        foreach(class IN LISTS arg_QT_CLASSES)
            add_test(NAME ${name}.${class} COMMAND ${name} ${class})
            set_tests_properties(${name}.${class} PROPERTIES LABELS "${arg_LABELS}"
                                 TIMEOUT ${arg_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                 ENVIRONMENT_MODIFICATION "${noUserSettings}")
        endforeach()
    else()
        gtest_discover_tests(${name} TEST_PREFIX "${name}."
                             DISCOVERY_TIMEOUT 60
                             PROPERTIES LABELS "${arg_LABELS}" TIMEOUT ${arg_TIMEOUT}
                                        ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                        ENVIRONMENT_MODIFICATION "${noUserSettings}")
    endif()
endfunction()

# tavlo_write_link_graph(FILE): one line for each target of the project, tab separated: its name,
# the folder of the source tree it is made from (its path's first part), its source files, and
# the targets it links. The layering test reads it: which files may include from which folder
# is what the build links.
function(tavlo_write_link_graph file)
    tavlo_targets_below(${PROJECT_SOURCE_DIR} targets)
    set(lines "")
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        get_target_property(imported ${target} IMPORTED)
        if(imported OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        get_target_property(sourceDir ${target} SOURCE_DIR)
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${sourceDir})
        if(folder STREQUAL "" OR folder MATCHES "^\\.\\.")
            continue()  # the project's own folder, or a dependency built from elsewhere
        endif()
        string(REGEX REPLACE "/.*" "" folder "${folder}")
        tavlo_source_files(${target} ${sourceDir} sourceFiles)
        get_target_property(links ${target} LINK_LIBRARIES)
        set(linked "")
        foreach(link IN LISTS links)
            if(TARGET ${link})
                list(APPEND linked ${link})
            endif()
        endforeach()
        string(APPEND lines "${target}\t${folder}\t${sourceFiles}\t${linked}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${file} CONTENT "${lines}" @ONLY)
endfunction()

# The source files of `target` in the project's tree (not those the build generates), relative
# to the project's folder.
function(tavlo_source_files target sourceDir out)
    get_target_property(sources ${target} SOURCES)
    set(files "")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\$<")
            continue()  # chosen by the platform: the files beside it are listed
        endif()
        get_filename_component(path ${source} ABSOLUTE BASE_DIR ${sourceDir})
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
        file(RELATIVE_PATH generated ${CMAKE_BINARY_DIR} ${path})
        if(NOT relative MATCHES "^\\.\\." AND generated MATCHES "^\\.\\.")
            list(APPEND files ${relative})
        endif()
    endforeach()
    set(${out} "${files}" PARENT_SCOPE)
endfunction()

# The targets defined in `dir` and every folder below it.
function(tavlo_targets_below dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        tavlo_targets_below(${subdirectory} below)
        list(APPEND targets ${below})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()
