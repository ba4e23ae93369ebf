# `cpack -G DEB` in a Release build: varnolt_<version>_<arch>.deb. The library dependencies come from
# dpkg-shlibdeps, so they follow whatever Qt and zlib the package was built against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnolt)
set(CPACK_PACKAGE_VENDOR Brondix)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Composes and runs cockpit instrument panels for DCS World")
set(CPACK_PACKAGE_HOMEPAGE_URL ${VARNOLT_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(VARNOLT_MAINTAINER "Varnolt maintainers <varnolt@example.com>" CACHE STRING "Maintainer field of the package")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VARNOLT_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are laid out for Tahoma, which Debian ships with its Windows fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary first and indents these lines as the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Varnolt composes and runs panels for cockpit builders who show instruments
on extra monitors: named sets of separate gauge programs from its catalogue,
an optional background program and any 3rd party applications, spread over
several monitors. It starts and stops every program of a panel, moves a panel
to another monitor, exports and imports panels as archives, and listens for
control datagrams from the simulator that start, stop and switch panels by
aircraft.

Panels live in each user's settings folder, which removing the package
leaves in place.")

include(CPack)
