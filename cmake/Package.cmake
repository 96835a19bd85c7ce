# The Debian packages: `cpack -G DEB` in a release build tree makes one package per install
# component (Install.cmake), installing under /usr:
#   vistrel          the program, vistrelctl, the camera simulator, descriptions, desktop files
#   libhalvex32-1    the shared library, with the ldconfig trigger and its shlibs
#   libhalvex32-dev  header, development link, halvex32.pc, halvex32(3)
# dpkg-shlibdeps declares the run-time dependencies from the binaries themselves.
set(VISTREL_PACKAGE_MAINTAINER "The Vistrel developers <vistrel-dev@example.org>"
    CACHE STRING "Maintainer field of the Debian packages (a name and an address that takes mail)")
set(CPACK_PACKAGE_NAME vistrel)
set(CPACK_PACKAGE_VENDOR "The Vistrel developers")
set(CPACK_PACKAGE_CONTACT "${VISTREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installed with DESTDIR, so that what an install step writes (halvex32.pc) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program library development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE vistrel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps is run at cpack time by PackageConfig.cmake: CPack's own run would also write
# maintainer scripts calling ldconfig for any library under /usr/lib, which Debian replaced by a
# trigger (and which the program's private libclsersim.so does not need at all).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME vistrel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION electronics)
string(CONCAT CPACK_DEBIAN_PROGRAM_DESCRIPTION
       "set up industrial cameras over their serial control channel\n"
       "Vistrel builds a panel of controls from a camera description file and\n"
       "sends each change to the camera over an RS-232 port or the serial channel\n"
       "of a Camera Link frame grabber, showing how the camera answered.\n"
       ".\n"
       "The package also holds vistrelctl, which does the same jobs from a\n"
       "terminal, and vistrel-camsim, a simulated camera on a pseudo-terminal.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libhalvex32-1)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The library's control files are ours: the ldconfig trigger, and the shlibs and symbols (written
# at cpack time) that tell dpkg-shlibdeps which package a program linked with it needs.
get_target_property(halvex32_soversion halvex32 SOVERSION)
file(WRITE ${PROJECT_BINARY_DIR}/package/library/shlibs
     "libhalvex32 ${halvex32_soversion} libhalvex32-1 (>= ${PROJECT_VERSION})\n")
file(WRITE ${PROJECT_BINARY_DIR}/package/library/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/package/library/shlibs
                                               ${PROJECT_BINARY_DIR}/package/library/symbols
                                               ${PROJECT_BINARY_DIR}/package/library/triggers)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_STRICT_PERMISSION ON)
string(CONCAT CPACK_DEBIAN_LIBRARY_DESCRIPTION
       "serial link to a camera over an RS-232 port\n"
       "Halvex32 opens a serial device with fixed line settings (8N1, CTS flow\n"
       "control), checks that something is attached, sends one command line,\n"
       "optionally paced character by character, and returns the camera's\n"
       "acknowledged reply. It needs nothing but the C library.\n"
       ".\n"
       "This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libhalvex32-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libhalvex32-1 (= ${PROJECT_VERSION})")
string(CONCAT CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
       "serial link to a camera over an RS-232 port (development files)\n"
       "Halvex32 opens a serial device with fixed line settings (8N1, CTS flow\n"
       "control), checks that something is attached, sends one command line,\n"
       "optionally paced character by character, and returns the camera's\n"
       "acknowledged reply. It needs nothing but the C library.\n"
       ".\n"
       "This package holds the header, the pkg-config file and the manual page\n"
       "halvex32(3).")

# The run-time dependencies, found at cpack time from the built binaries.
set(program_binaries $<TARGET_FILE:vistrelctl> $<TARGET_FILE:vistrel-camsim> $<TARGET_FILE:vistrel-cltrial>
                     $<TARGET_FILE:clsersim>)
if(TARGET vistrel)
    list(APPEND program_binaries $<TARGET_FILE:vistrel>)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/PackageConfig.cmake.in ${PROJECT_BINARY_DIR}/package/PackageConfig.cmake.in
               @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/package/PackageConfig.cmake
     INPUT ${PROJECT_BINARY_DIR}/package/PackageConfig.cmake.in)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/package/PackageConfig.cmake)

include(CPack)
