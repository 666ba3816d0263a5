# `cpack -G DEB` in the build folder makes pellark_VERSION_ARCH.deb of what `cmake --install`
# installs, under /usr; dpkg-shlibdeps computes the run-time dependencies from the binaries.
set(CPACK_PACKAGE_NAME pellark)
set(CPACK_PACKAGE_VENDOR "The Pellark developers")
set(CPACK_PACKAGE_CONTACT "The Pellark developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CHIP-8 and SUPER-CHIP interpreter for the desktop")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Pellark plays CHIP-8 programs with the SUPER-CHIP display extensions in a\n"
  "window: open a *.ch8 file from the menu, the command line or a file manager,\n"
  "play it with the keyboard, change its speed and magnification, and watch a\n"
  "live trace of the executed instructions. It recognises programs in the\n"
  "community CHIP-8 database, installed with it (MIT licence), and runs each by\n"
  "the rules of the platform it was written for. pellark-run runs programs with\n"
  "no window, for testing, tracing and benchmarking them.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
