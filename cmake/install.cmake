# cmake --install: the headers, libzo.a, a CMake package (find_package(zo)
# gives zo::zo) and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS zo EXPORT zoTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/zo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(zo_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/zo)
install(EXPORT zoTargets NAMESPACE zo:: DESTINATION ${zo_cmake_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zoConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/zoConfig.cmake INSTALL_DESTINATION ${zo_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zoConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zoConfig.cmake ${CMAKE_BINARY_DIR}/zoConfigVersion.cmake
        DESTINATION ${zo_cmake_dir})

configure_file(${PROJECT_SOURCE_DIR}/cmake/zo.pc.in ${CMAKE_BINARY_DIR}/zo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
