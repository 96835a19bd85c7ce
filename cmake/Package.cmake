# The Debian package: `cpack -G DEB` in a release build tree. It installs under /usr with the
# layout of Install.cmake; dpkg-shlibdeps declares the run-time dependencies (Qt 6 Widgets, libc,
# the C++ runtime) from the binaries themselves.
set(CPACK_PACKAGE_NAME vistrel)
set(CPACK_PACKAGE_VENDOR "The Vistrel developers")
set(CPACK_PACKAGE_CONTACT "The Vistrel developers <vistrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sets up industrial cameras over their serial control channel")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Vistrel builds a panel of controls from a camera description file and sends each change to "
       "the camera over an RS-232 port or the serial channel of a Camera Link frame grabber. With "
       "the serial link library Halvex32, the command-line companion vistrelctl and a camera "
       "simulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Halvex32 and the simulated grabber library come with the package itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/bin)

include(CPack)
