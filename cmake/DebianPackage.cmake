# The Debian package, installed under /usr; scripts/package builds it with cpack.

set(ORVANE_MAINTAINER "The Orvane developers <developers@orvane.example.org>")
set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane)

# Debian's machine-readable copyright file, its licence text taken from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${PROJECT_BINARY_DIR}/debian/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Orvane
Upstream-Contact: ${ORVANE_MAINTAINER}
Source: ${PROJECT_HOMEPAGE_URL}

Files: *
Copyright: 2026 The Orvane developers
License: Expat
 ${licence}
")

# A package's changelog starts with its own version: a new version needs an entry first.
set(changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} top LIMIT_COUNT 1)
if(NOT top MATCHES "^orvane \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()
find_program(GZIP_EXE gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${changelog} changelog
    COMMAND ${GZIP_EXE} -9 -n -f changelog
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/debian
    DEPENDS ${changelog})
add_custom_target(debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVANE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "store logos in ESC/POS receipt printers' flash memory")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Orvane stores monochrome pictures (logos, coupons, signatures) as NV images
or NV graphics in the flash memory of an ESC/POS receipt printer, and later
prints or erases them. It turns BMP, PNG, JPEG, GIF, TIFF and WebP pictures
into the printer's 1-bit raster, checks that the set fits the printer's store,
and sends it over a serial port, paced by the printer's CTS line, to a
parallel or USB printer device file, or to a network printer over raw TCP
(port 9100). Printers that answer are asked for their status first.

The package holds the window, the orvane command line for scripts, and
orvane-virtual-printer, a printer on a pseudo-terminal or TCP port for trying
Orvane without one.")
# The libraries the binaries link come from dpkg-shlibdeps. Qt loads image formats and
# platforms as plugins, which no binary links: TIFF and WebP come from the plugins package;
# JPEG, GIF and the X11 platform ship with libqt6gui6, which shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-image-formats-plugins)
# The window's labels fall back to Liberation Sans; its full-width colons and the Chinese
# title of the file dialog need a CJK font. Without them it works, with boxes for glyphs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)
