# The Debian package: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr
# (the player's build: tests, benchmarks and tools off) makes zorbo_VERSION_ARCH.deb of the
# install rules above. Its library dependencies are read from the programs by
# dpkg-shlibdeps; docs/packaging.md explains what lintian still says of it.
set(ZORBO_PACKAGE_MAINTAINER "Zorbo developers <maintainers@zorbo.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")
set(ZORBO_PACKAGE_DIR ${CMAKE_CURRENT_LIST_DIR}/package)

# Debian's own files: the copyright notice and the changelog, compressed as policy asks
# (gzip -n: no name or time stamp, so the same build makes the same package).
configure_file(${ZORBO_PACKAGE_DIR}/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/package/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${ZORBO_PACKAGE_DIR}/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorbo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZORBO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling platform game in ten levels")
file(READ ${ZORBO_PACKAGE_DIR}/description CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text is drawn in a font found through fontconfig, which no library dependency brings.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
# A package of a /usr/local build would install where only the local administrator may.
set(CPACK_PROJECT_CONFIG_FILE ${ZORBO_PACKAGE_DIR}/CheckPrefix.cmake)
include(CPack)
