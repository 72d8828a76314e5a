# The target `compiles_alone` compiles, each on its own, every source that
# this build compiles in unity batches (HC_UNITY), and every header that no
# such source includes first (a file that includes it, twice), with the
# flags and include folders of the target whose folder holds it. A file that
# leans on what another file of its batch, or its includer, happened to
# include first fails here, as it would in a plain build, a game's
# add_subdirectory or a packager's build. It is not part of `all`; CI builds
# it in the sanitized build (.ci/run).
#
# It only checks (-fsyntax-only), and where the owning target has
# precompiled headers (HC_PCH) it reuses them: the standard headers are then
# parsed once per target, which halves the check's cost, at the price of not
# noticing a missing standard #include. A header that a checked source
# includes first was compiled alone with that source.

# Every target that compiles sources, below DIR.
function(hc_compiled_targets dir out)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    hc_compiled_targets(${subdir} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The headers that SOURCES include first (a quoted #include before any other).
function(hc_included_first out sources)
  set(found)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} first REGEX "^#include [\"<]" LIMIT_COUNT 1)
    if(NOT first MATCHES "^#include \"")
      continue()
    endif()
    string(REGEX REPLACE "^#include \"(.*)\".*$" "\\1" included "${first}")
    get_filename_component(source_dir ${source} DIRECTORY)
    foreach(root ${source_dir} ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/localserver/include
                 ${PROJECT_SOURCE_DIR}/localserver/src)
      if(EXISTS ${root}/${included})
        get_filename_component(header ${root}/${included} ABSOLUTE)
        list(APPEND found ${header})
        break()
      endif()
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# An object library NAME that compiles FILES, each alone and only for
# errors, as OWNER compiles its own sources.
function(hc_alone_check owner name files)
  add_library(${name} OBJECT EXCLUDE_FROM_ALL ${files})
  # The owner's folders, definitions and options, with those its libraries
  # pass on.
  set_target_properties(${name} PROPERTIES
    INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:${owner},INCLUDE_DIRECTORIES>"
    COMPILE_DEFINITIONS "$<TARGET_PROPERTY:${owner},COMPILE_DEFINITIONS>"
    COMPILE_OPTIONS "$<TARGET_PROPERTY:${owner},COMPILE_OPTIONS>;-fsyntax-only")
  get_target_property(pch ${owner} PRECOMPILE_HEADERS)
  if(pch)
    target_precompile_headers(${name} REUSE_FROM ${owner})
  endif()
  add_dependencies(compiles_alone ${name})
endfunction()

function(hc_compiles_alone)
  hc_compiled_targets(${PROJECT_SOURCE_DIR} targets)
  add_custom_target(compiles_alone)
  set(unity_sources)
  foreach(target IN LISTS targets)
    get_target_property(unity ${target} UNITY_BUILD)
    if(unity)
      get_target_property(sources ${target} SOURCES)
      get_target_property(source_dir ${target} SOURCE_DIR)
      list(TRANSFORM sources PREPEND ${source_dir}/ REGEX "^[^/]")
      hc_alone_check(${target} ${target}_sources_alone "${sources}")
      list(APPEND unity_sources ${sources})
    endif()
  endforeach()
  hc_included_first(checked_with_a_source "${unity_sources}")

  file(GLOB_RECURSE headers CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/localserver/*.h ${PROJECT_SOURCE_DIR}/tests/*.h
       ${PROJECT_SOURCE_DIR}/examples/*.h ${PROJECT_SOURCE_DIR}/bench/*.h ${PROJECT_SOURCE_DIR}/fuzz/*.h)
  set(owners)
  foreach(header IN LISTS headers)
    if(header IN_LIST checked_with_a_source)
      continue()
    endif()
    # The target whose folder is the nearest one above the header. A header
    # whose targets this build does not define (the benchmarks' with
    # HC_BUILD_BENCH off) is not checked by it.
    set(owner)
    set(owner_length 0)
    foreach(target IN LISTS targets)
      get_target_property(target_dir ${target} SOURCE_DIR)
      string(LENGTH "${target_dir}/" length)
      string(FIND "${header}" "${target_dir}/" at)
      if(at EQUAL 0 AND length GREATER owner_length)
        set(owner ${target})
        set(owner_length ${length})
      endif()
    endforeach()
    if(NOT owner)
      continue()
    endif()
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
    set(unit ${PROJECT_BINARY_DIR}/headers-alone/${relative}.cpp)
    file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${header}\"\n#include \"${header}\"\n" @ONLY)
    list(APPEND owners ${owner})
    list(APPEND units_${owner} ${unit})
  endforeach()
  list(REMOVE_DUPLICATES owners)
  foreach(owner IN LISTS owners)
    hc_alone_check(${owner} ${owner}_headers_alone "${units_${owner}}")
  endforeach()
endfunction()

# A game that adds the client with add_subdirectory gets no such targets.
if(PROJECT_IS_TOP_LEVEL)
  hc_compiles_alone()
endif()
