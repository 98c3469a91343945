# cmake --install: the headers, libzo.a, a CMake package (find_package(zo)
# gives zo::zo) and a pkg-config file. The 32-bit and the 64-bit trees
# install into the same prefix side by side: each library into a folder of
# its width (lib/win32, lib/win64) with its own export file, so that one
# package serves either compiler.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(zo_width win64)
else()
  set(zo_width win32)
endif()
install(TARGETS zo EXPORT zoTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}/${zo_width})
install(FILES ${PROJECT_SOURCE_DIR}/include/zo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(zo_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/zo)
install(EXPORT zoTargets FILE zoTargets-${zo_width}.cmake NAMESPACE zo:: DESTINATION ${zo_cmake_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zoConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/zoConfig.cmake INSTALL_DESTINATION ${zo_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zoConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion ARCH_INDEPENDENT)
install(FILES ${CMAKE_BINARY_DIR}/zoConfig.cmake ${CMAKE_BINARY_DIR}/zoConfigVersion.cmake
        DESTINATION ${zo_cmake_dir})

configure_file(${PROJECT_SOURCE_DIR}/cmake/zo.pc.in ${CMAKE_BINARY_DIR}/zo.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
