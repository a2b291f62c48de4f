# Build settings and the helpers every folder uses to declare libraries, programs and tests.

if(WIN32)
    enable_language(RC)
    # Every program and DLL lands in one folder so test programs find the DLLs beside them.
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # No MinGW runtime DLL may have to sit beside the binaries.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Page-aligned sections let Wine map the images instead of copying them into private memory:
    # about 6 MB less working set for Ringhold.
    add_link_options(-Wl,--file-alignment,4096)
    # Wine maps a module's code whole into the working set, so code nothing calls costs memory:
    # one section per function lets the linker drop what no export or entry point reaches.
    # For the same reason the modules are optimised for size: none of their work is bound by the
    # processor (the server waits 500 ms a pass; reports wait on the disk).
    add_compile_options(-ffunction-sections -fdata-sections -Os)
    add_link_options(-Wl,--gc-sections)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    set(RING_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run;${RING_WINE_DIR})
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        set(RING_WIN32_I686 ON)
    endif()
endif()

add_compile_options(-Wall -Wextra)

if(RING_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(RING_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# ring_lean_runtime(target): the module's C++ runtime ends it at once where it would throw, without
# the exception classes and the demangler; every module links its own runtime, so each needs it.
function(ring_lean_runtime target)
    if(WIN32)
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/runtime/lean_runtime_win.cpp)
    endif()
endfunction()

# ring_stdcall_dll(target [DEF file]): a DLL whose stdcall exports keep their plain names (Name,
# not Name@4). On i686 the import library ld writes under --kill-at names the plain symbols,
# which stdcall callers (Name@4) never find; DEF lists the decorated names to make it from.
function(ring_stdcall_dll target)
    cmake_parse_arguments(D "" "DEF" "" ${ARGN})
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
    ring_lean_runtime(${target})
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    if(RING_WIN32_I686 AND D_DEF)
        find_program(RING_DLLTOOL i686-w64-mingw32-dlltool REQUIRED)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${RING_DLLTOOL} -k -d ${D_DEF} -D $<TARGET_FILE_NAME:${target}>
                    -l $<TARGET_LINKER_FILE:${target}>
            VERBATIM)
    endif()
endfunction()

# What marks a module as ours in its version resource; the installer (installer/) reads the
# same two strings to tell our libraries from the ones the POS ships.
set(RING_COMPANY "Halden")
set(RING_PRODUCT "Halden Caller ID")

# ring_version_resource(target DESCRIPTION text [VERSION a.b.c.d] [COMPANY name]): gives the
# module its version resource, with the project version unless VERSION says otherwise (test
# fixtures that play older, newer or foreign libraries).
function(ring_version_resource target)
    cmake_parse_arguments(V "" "DESCRIPTION;VERSION;COMPANY" "" ${ARGN})
    if(NOT WIN32)
        return()
    endif()
    if(NOT V_VERSION)
        set(V_VERSION ${PROJECT_VERSION})
    endif()
    if(NOT V_COMPANY)
        set(V_COMPANY ${RING_COMPANY})
    endif()
    get_target_property(type ${target} TYPE)
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    if(type STREQUAL "EXECUTABLE")
        set(RC_FILE_TYPE VFT_APP)
        set(RC_FILE_NAME ${name}.exe)
    else()
        set(RC_FILE_TYPE VFT_DLL)
        set(RC_FILE_NAME ${name}.dll)
    endif()
    set(RC_VERSION ${V_VERSION})
    string(REPLACE "." ", " RC_VERSION_COMMAS ${V_VERSION})
    set(RC_COMPANY ${V_COMPANY})
    set(RC_PRODUCT ${RING_PRODUCT})
    set(RC_DESCRIPTION ${V_DESCRIPTION})
    set(RC_INTERNAL_NAME ${name})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

# ring_export_test(NAME n MODULE target NAMES ... [IMPORTERS targets...]): the module exports
# exactly NAMES under plain names and the importers import them so.
function(ring_export_test)
    cmake_parse_arguments(T "" "NAME;MODULE" "NAMES;IMPORTERS" ${ARGN})
    set(importers)
    foreach(i ${T_IMPORTERS})
        # A scenario program this tree does not build imports nothing to check.
        get_target_property(unbuilt ${i} EXCLUDE_FROM_ALL)
        if(NOT unbuilt)
            list(APPEND importers $<TARGET_FILE:${i}>)
        endif()
    endforeach()
    string(JOIN " " names ${T_NAMES})
    add_test(NAME ${T_NAME} COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-exports ${CMAKE_OBJDUMP}
        $<TARGET_FILE:${T_MODULE}> "${names}" ${importers})
endfunction()

# Windows test programs run under Wine with one persistent wineserver per ctest run.
if(WIN32 AND BUILD_TESTING)
    add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-env start ${RING_WINE_DIR} ${CMAKE_SYSTEM_PROCESSOR})
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-env stop ${RING_WINE_DIR})
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# The long Wine scenarios (end to end, faults, soak, dialogs, installer) test the same code on
# either architecture, so a machine runs them once: on win32, the product's architecture, where
# this machine executes i686 code, and on win64 where it cannot. The other tree keeps its unit
# tests, export checks and a short end-to-end smoke.
if(WIN32 AND NOT RING_WIN32_I686)
    execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE i686_rc
        OUTPUT_QUIET ERROR_QUIET)
    if(i686_rc EQUAL 0)
        set(scenarios_default OFF)
    else()
        set(scenarios_default ON)
    endif()
else()
    set(scenarios_default ON)
endif()
option(RING_WINE_SCENARIOS "Register the long Wine scenario tests in this tree" ${scenarios_default})

# ring_test(NAME n SOURCES ... [LIBS ...] [ARGS ...] [TIMEOUT s] [SCENARIO])
# A GoogleTest program registered as one ctest test: natively as it is, on Windows under Wine.
# ARGS go to the program. SCENARIO marks a long Wine scenario: without RING_WINE_SCENARIOS the
# program is not built.
function(ring_test)
    cmake_parse_arguments(T "SCENARIO" "NAME;TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
    if(RING_FUZZ)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gmock gtest_main)
    if(T_SCENARIO AND NOT RING_WINE_SCENARIOS)
        set_target_properties(${T_NAME} PROPERTIES EXCLUDE_FROM_ALL ON)
        return()
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(WIN32)
        # 77: wine-run found that this machine cannot execute the build's architecture.
        set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    endif()
endfunction()

# ring_script_test(NAME n COMMAND ... [TIMEOUT s] [SCENARIO])
# A test driven by a shell script (pseudo-terminals, several processes, the real programs).
# The script gets RING_BIN (the built programs), RING_WINE_DIR and RING_SOURCE_DIR.
function(ring_script_test)
    cmake_parse_arguments(T "SCENARIO" "NAME;TIMEOUT" "COMMAND" ${ARGN})
    if(T_SCENARIO AND NOT RING_WINE_SCENARIOS)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
    set(env RING_SOURCE_DIR=${CMAKE_SOURCE_DIR} RING_BUILD_DIR=${CMAKE_BINARY_DIR})
    if(WIN32)
        list(APPEND env RING_BIN=${CMAKE_BINARY_DIR}/bin RING_WINE_DIR=${RING_WINE_DIR}
             RING_WINE_RUN=${CMAKE_SOURCE_DIR}/cmake/wine-run)
        set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77)
    else()
        list(APPEND env RING_BIN=${CMAKE_BINARY_DIR})
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()

# ring_fuzz(NAME n SOURCES ... [LIBS ...]): a libFuzzer target whose test replays its committed
# corpus (corpus/<n> beside the CMakeLists) and then fuzzes a fixed number of runs from a fixed
# seed, so a failure repeats on every machine. scripts/fuzz runs the long, unseeded search.
function(ring_fuzz)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    if(NOT RING_FUZZ)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
    target_link_options(${T_NAME} PRIVATE -fsanitize=fuzzer)
    set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${T_NAME})
    if(NOT IS_DIRECTORY ${seeds})
        message(FATAL_ERROR "${T_NAME}: no committed corpus in ${seeds}")
    endif()
    add_test(NAME ${T_NAME} COMMAND ${CMAKE_SOURCE_DIR}/cmake/fuzz-check $<TARGET_FILE:${T_NAME}>
        ${seeds} ${CMAKE_BINARY_DIR}/fuzz-work/${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
endfunction()
