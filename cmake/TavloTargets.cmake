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
