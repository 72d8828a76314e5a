# cmake --install puts the client's libraries, its headers (include/halcyon,
# the same paths as below src/) and a CMake package in the prefix, so that a
# game's build does
#   find_package(Halcyon CONFIG REQUIRED)
#   target_link_libraries(game PRIVATE Halcyon::halcyon)
# The local server is installed beside it as the package's component
# "localserver" (Halcyon::localserver, for hosts that embed one): an export
# set of its own, so that only find_package(Halcyon COMPONENTS localserver)
# looks for the server's HTTP library.
include(CMakePackageConfigHelpers)

set(hc_installed_targets halcyon)
foreach(layer platform platform_ui kernel transport core scores uiframework dashboard accounts social gamepages
              socialpages client)
  if(TARGET hc_${layer})
    list(APPEND hc_installed_targets hc_${layer})
  endif()
endforeach()

# A sanitized build's libraries call into the sanitizer runtimes: the
# package asks its users' link for them (CI installs its sanitized build).
if(HC_SANITIZE)
  target_link_options(halcyon INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

install(TARGETS ${hc_installed_targets} EXPORT HalcyonTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(TARGET hc_localserver)
  install(TARGETS hc_localserver EXPORT HalcyonLocalServerTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  # The server itself, for a game's developer to log in against.
  install(TARGETS halcyon-localserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${HC_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/localserver/include/ DESTINATION ${HC_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")

set(hc_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Halcyon)
install(EXPORT HalcyonTargets NAMESPACE Halcyon:: DESTINATION ${hc_package_dir})
if(TARGET hc_localserver)
  install(EXPORT HalcyonLocalServerTargets NAMESPACE Halcyon:: DESTINATION ${hc_package_dir})
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/HalcyonConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/HalcyonConfig.cmake INSTALL_DESTINATION ${hc_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/HalcyonConfigVersion.cmake VERSION 2.10
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/HalcyonConfig.cmake ${PROJECT_BINARY_DIR}/HalcyonConfigVersion.cmake
        DESTINATION ${hc_package_dir})
