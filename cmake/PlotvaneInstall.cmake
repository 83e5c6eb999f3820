# Installs the shared library with its SONAME, the public headers, a namespaced CMake package
# (find_package(Plotvane) then Plotvane::plotvane) and plotvane.pc for pkg-config.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(PLOTVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Plotvane)

install(TARGETS plotvane EXPORT PlotvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/plotvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT PlotvaneTargets NAMESPACE Plotvane:: DESTINATION ${PLOTVANE_CMAKE_DIR})

configure_package_config_file(cmake/PlotvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/PlotvaneConfig.cmake INSTALL_DESTINATION ${PLOTVANE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PlotvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/PlotvaneConfig.cmake ${PROJECT_BINARY_DIR}/PlotvaneConfigVersion.cmake
  DESTINATION ${PLOTVANE_CMAKE_DIR})

# Relative to the .pc file, so the installed tree can be moved.
file(RELATIVE_PATH PLOTVANE_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
set(PLOTVANE_PC_RPATH "")
configure_file(cmake/plotvane.pc.in ${PROJECT_BINARY_DIR}/plotvane.pc @ONLY)
# Outside /usr the loader does not look for the library, so programs linked through pkg-config
# carry its folder; which of the two files is installed depends on the prefix given at install time.
set(PLOTVANE_PC_RPATH " -Wl,-rpath,\${libdir}")
configure_file(cmake/plotvane.pc.in ${PROJECT_BINARY_DIR}/pc-rpath/plotvane.pc @ONLY)
install(CODE "
  if(CMAKE_INSTALL_PREFIX MATCHES \"^/(usr/?)?$\")
    set(plotvane_pc \"${PROJECT_BINARY_DIR}/plotvane.pc\")
  else()
    set(plotvane_pc \"${PROJECT_BINARY_DIR}/pc-rpath/plotvane.pc\")
  endif()
  file(INSTALL \"\${plotvane_pc}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
")

# Lets a neighbouring build use this tree without installing.
export(EXPORT PlotvaneTargets NAMESPACE Plotvane:: FILE ${PROJECT_BINARY_DIR}/PlotvaneTargets.cmake)
