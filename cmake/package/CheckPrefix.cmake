# Read by cpack: the package is made only of a system build, whose programs look for their
# data in /usr/share/games/zorbo.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "the Debian package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr "
                      "(this one installs to ${CPACK_PACKAGING_INSTALL_PREFIX})")
endif()
