# Where installed headers go: include/halcyon/<layer>/..., the same paths as
# below src/.
include(GNUInstallDirs)
set(HC_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/halcyon)

# HC_PCH precompiles the headers of cmake/pch for each library and test
# program. The CI scripts turn it on; it stays off by default because a
# compiler cache cannot reuse a file compiled against a precompiled header
# that was rebuilt, and because without it a missing #include shows.
option(HC_PCH "Precompile the standard and test framework headers" OFF)
function(hc_precompile target header)
  if(HC_PCH)
    target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${header})
  endif()
endfunction()

# HC_UNITY compiles each library's sources in batches of one unit each: a
# layer's files share most of their headers and template instantiations, so
# the CI configurations compile in about half the time. Names in one file's
# anonymous namespace must then differ from those of the other files of its
# library (the CI build fails on a clash). Off by default, so that a plain
# developer build still shows a file's missing #include.
option(HC_UNITY "Compile each library in unity batches" OFF)
# 0 puts a whole library in one unit: the way to see every clash at once.
# 64 rather than 24 takes a fifth off the sanitized libraries' compile (342
# against 421 CPU-seconds): fewer units instantiate the shared templates.
set(HC_UNITY_BATCH 64 CACHE STRING "Source files per unity batch")
if(HC_UNITY AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # A class defined in a source file that has a member of an anonymous type
  # is fine on its own; gcc warns once that file is included into a batch.
  add_compile_options(-Wno-subobject-linkage)
endif()
function(hc_unity target)
  if(HC_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${HC_UNITY_BATCH})
  endif()
endfunction()

# One static library per layer folder. Sources are globbed so that adding a
# file needs no edit here; CONFIGURE_DEPENDS re-runs the glob on each build.
function(hc_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(srcs)
    add_library(hc_${name} STATIC ${srcs})
    target_include_directories(hc_${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
                                                $<INSTALL_INTERFACE:${HC_INSTALL_INCLUDEDIR}>)
    target_link_libraries(hc_${name} PUBLIC ${L_DEPS})
    # Carried by the exported targets: a game's build that sets no standard
    # of its own still compiles the client's headers as C++20.
    target_compile_features(hc_${name} PUBLIC cxx_std_20)
    hc_precompile(hc_${name} StandardHeaders.h)
    hc_unity(hc_${name})
  else()
    # A layer whose sources have not landed yet still names its dependencies.
    add_library(hc_${name} INTERFACE)
    target_include_directories(hc_${name} INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
                                                   $<INSTALL_INTERFACE:${HC_INSTALL_INCLUDEDIR}>)
    target_link_libraries(hc_${name} INTERFACE ${L_DEPS})
    target_compile_features(hc_${name} INTERFACE cxx_std_20)
  endif()
endfunction()

# The sanitized build checks the test programs' own code with
# AddressSanitizer alone: UndefinedBehaviorSanitizer's checks on the test
# framework's templates were a quarter of the tests' compile time, and the
# code under test (the libraries, the local server) keeps every check.
function(hc_test_sanitizers target)
  if(HC_SANITIZE)
    target_compile_options(${target} PRIVATE -fno-sanitize=undefined)
  endif()
endfunction()

# One test program per test folder; every test case becomes its own ctest
# entry so that ctest -j spreads them over the cores.
#
# THREADED marks a program whose code runs on more than one thread (run
# loops, the request thread, the local server): it is also part of the
# `threaded_tests` target, which the ThreadSanitizer build (HC_TSAN) builds
# and runs. Under HC_TSAN the other programs are not defined at all.
#
# Each program also runs whole, its cases shuffled in one process, as a
# developer runs it: a case that leaves process-wide state behind (a static,
# a stored file, a slot no reset clears) fails another there, never when
# each case has a process of its own. The ThreadSanitizer build runs its
# programs only so (ctest entry `whole_<name>_tests`): the same cases under
# the tool, without its start-up cost once per case. The sanitized build runs
# the programs that are not threaded so as well, beside each case alone. The
# order follows GTEST_RANDOM_SEED, which scripts/test and scripts/tsan pick
# and print (HC_TEST_SEED replays one).
include(GoogleTest)
function(hc_test_program name)
  cmake_parse_arguments(T "THREADED" "" "SOURCES;DEPS" ${ARGN})
  if(NOT T_SOURCES OR (HC_TSAN AND NOT T_THREADED))
    return()
  endif()
  add_executable(${name}_tests ${T_SOURCES})
  target_link_libraries(${name}_tests PRIVATE hc_testsupport ${T_DEPS})
  hc_test_sanitizers(${name}_tests)
  hc_precompile(${name}_tests TestHeaders.h)
  if(NOT HC_TSAN)
    gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST
                         PROPERTIES TIMEOUT 120)
  endif()
  if(HC_TSAN OR NOT T_THREADED)
    # A whole program is one of the longest entries: its COST starts it
    # early, so the single cases fill the processors beside it.
    add_test(NAME whole_${name}_tests COMMAND ${name}_tests --gtest_shuffle)
    set_tests_properties(whole_${name}_tests PROPERTIES LABELS whole TIMEOUT 900 COST 40)
  endif()
  if(T_THREADED)
    add_dependencies(threaded_tests ${name}_tests)
  endif()
endfunction()

function(hc_tests name)
  cmake_parse_arguments(T "THREADED" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(threaded)
  if(T_THREADED)
    set(threaded THREADED)
  endif()
  hc_test_program(${name} ${threaded} SOURCES ${srcs} DEPS ${T_DEPS})
endfunction()

# Adds a subdirectory only once its folder exists, so layers can land one at a time.
macro(hc_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endmacro()
