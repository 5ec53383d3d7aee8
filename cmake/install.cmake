include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

foreach(header ${DAVODU_HEADERS})
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/src/${header}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/davodu/${dir})
endforeach()

install(TARGETS davodu EXPORT davoduTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS davodu_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS davodu_chart RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/davodu)
install(EXPORT davoduTargets NAMESPACE davodu::
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/davodu)

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/davoduConfig.cmake.in
  ${CMAKE_BINARY_DIR}/davoduConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/davodu)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/davoduConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/davoduConfig.cmake
              ${CMAKE_BINARY_DIR}/davoduConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/davodu)
