# What `cmake --install build --prefix P` puts under P: the library with its
# SONAME links, the public header, the programs, and the pkg-config and CMake
# packages a client builds against (find_package(Varnel) gives Varnel::varnel).
include(CMakePackageConfigHelpers)

# The header's version macros are what clients compile against and what
# VarnelVersion() returns: they must be the project's version.
file(STRINGS ${PROJECT_SOURCE_DIR}/include/varnel.h header_version
     REGEX "^#define VARNEL_VERSION_(MAJOR|MINOR) ")
string(REGEX REPLACE ".*MAJOR ([0-9]+).*MINOR ([0-9]+).*" "\\1.\\2" header_version "${header_version}")
if(NOT header_version VERSION_EQUAL PROJECT_VERSION)
  message(FATAL_ERROR "include/varnel.h says version ${header_version}, the project ${PROJECT_VERSION}")
endif()

install(TARGETS varnel EXPORT VarnelTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/varnel.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# Installed programs find the installed library beside them, wherever the
# prefix is, with no LD_LIBRARY_PATH.
set(programs varnel_cli)
if(TARGET varnview)
  list(APPEND programs varnview)
endif()
file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(${programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# pkg-config: the file locates the prefix from its own folder (pcfiledir), so
# it stays right when --prefix at install differs from the configured one.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(VARNEL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(VARNEL_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(VARNEL_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
  set(VARNEL_PC_PREFIX "\${pcfiledir}/${pc_to_prefix}")
  set(VARNEL_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VARNEL_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/varnel.pc.in ${PROJECT_BINARY_DIR}/varnel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/varnel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# CMake: VarnelConfig.cmake with the imported target, and a version file that
# accepts requests for the same major version (the SONAME's).
set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Varnel)
install(EXPORT VarnelTargets NAMESPACE Varnel:: DESTINATION ${cmake_package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VarnelConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/VarnelConfig.cmake
                              INSTALL_DESTINATION ${cmake_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VarnelConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VarnelConfig.cmake ${PROJECT_BINARY_DIR}/VarnelConfigVersion.cmake
        DESTINATION ${cmake_package_dir})

# The man pages, when help2man made them (tools/CMakeLists.txt).
if(VARNEL_MAN_DIR)
  install(DIRECTORY ${VARNEL_MAN_DIR}/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 FILES_MATCHING PATTERN "*.1")
endif()
