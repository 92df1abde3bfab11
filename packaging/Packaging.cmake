# Installing the desk, and its Debian package (scripts/package.sh runs cpack).
# Only the desk goes in: no tests, benchmark or tools.

include(GNUInstallDirs)

install(TARGETS vitrana RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(VITRANA_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
install(FILES ${VITRANA_PACKAGING_DIR}/vitrana.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VITRANA_PACKAGING_DIR}/cz.vitrana.Vitrana.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VITRANA_PACKAGING_DIR}/icons/vitrana.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs are rendered once from the SVG and kept in the source tree, so a
# build needs no SVG renderer.
foreach(size 16 32 48 64 128 256)
    install(FILES ${VITRANA_PACKAGING_DIR}/icons/vitrana-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vitrana.png)
endforeach()

# Debian wants the manual page and the changelog compressed, without a time
# stamp (-n), so the package is the same from build to build.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(VITRANA_GZIPPED)
foreach(doc vitrana.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND ${GZIP_PROGRAM} -9nc ${VITRANA_PACKAGING_DIR}/${doc} > ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc}.gz
        DEPENDS ${VITRANA_PACKAGING_DIR}/${doc}
        VERBATIM)
    list(APPEND VITRANA_GZIPPED ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc}.gz)
endforeach()
add_custom_target(vitrana_docs ALL DEPENDS ${VITRANA_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/vitrana.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VITRANA_PACKAGING_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vitrana)

set(VITRANA_PACKAGE_MAINTAINER "Vitrana developers <vitrana@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vitrana)
set(CPACK_PACKAGE_VENDOR "Vitrana developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front desk of a small hotel")
set(CPACK_PACKAGE_DESCRIPTION
    "Vitrana shows, for a span of days and a group of rooms, which hotel room is
free and which is reserved. The receptionist records clients, books and
cancels reservations with their prices, sets up rooms, room types, prices and
the calendar of day types, and takes the bookings guests make on the hotel's
web site.

Several desks can share one MariaDB database; a single desk runs its own
private database server and backs it up. The user interface is in Czech.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VITRANA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SQL drivers, the
# window system's platform plugin, the private server (mariadbd and
# mariadb-install-db, which reads its options with my_print_defaults; not the
# whole mariadb-server, whose system service and /var/lib/mysql the private
# server never uses) and Qt's own Czech texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-mysql, libqt6sql6-odbc, qt6-qpa-plugins, mariadb-server-core, mariadb-client-core, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-mariadb")
# A shared server on this machine.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mariadb-server")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
