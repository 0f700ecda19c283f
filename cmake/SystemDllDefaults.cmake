# Settings for our own targets: warnings (as errors in the test build) and sanitizers.
# Third-party code and build-time tools do not get them.
function(systemdll_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(SYSTEMDLL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(SYSTEMDLL_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(SYSTEMDLL_FUZZ)  # coverage for libFuzzer; the fuzz targets link its driver
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
    set_target_properties(${target} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# A static library of the package, one per subsystem (and one per action). It ends up
# in the shared library, so it is position-independent; its includes are written from
# src/ ("widgets/kybasehotkeywidget.h"). It links only what it uses: a use against the
# layering fails to link.
function(systemdll_add_library name)
    qt_add_library(${name} STATIC ${ARGN})
    systemdll_defaults(${name})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# A QtTest executable registered with CTest. NEEDS_X runs it on the suite's Xvfb,
# one such test at a time: the window manager hands the focus to every new window,
# so a test's windows would steal key events from another's. Other tests run on the
# offscreen platform, in parallel.
function(systemdll_add_test name)
    cmake_parse_arguments(ARG "NEEDS_X" "" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    systemdll_defaults(${name})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(env "QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu" ${ARG_ENVIRONMENT})
    if(NOT ARG_NEEDS_X)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    else()
        set_tests_properties(${name} PROPERTIES LABELS "x11" RESOURCE_LOCK xdisplay)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# Adds every folder below the current one that holds a CMakeLists.txt, so a new
# action, platform service, test or benchmark folder needs no edit of its parent.
macro(systemdll_add_subfolders)
    file(GLOB _systemdll_children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(_systemdll_dir IN LISTS _systemdll_children)
        if(IS_DIRECTORY ${_systemdll_dir} AND EXISTS ${_systemdll_dir}/CMakeLists.txt)
            add_subdirectory(${_systemdll_dir})
        endif()
    endforeach()
endmacro()
