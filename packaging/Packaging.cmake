# The Debian package of both programs (./dev package): binaries under /usr/bin,
# desktop entries and icons, and the documents Debian asks of every package.
set(package velmora-kestrin)
set(docs ${CMAKE_INSTALL_DATADIR}/doc/${package})

# Debian wants its changelog and manual pages compressed, reproducibly (no name,
# no time stamp).
set(compressed)
foreach(source changelog velmora.1 kestrin.1)
    set(target ${PROJECT_BINARY_DIR}/${source}.gz)
    add_custom_command(OUTPUT ${target}
                       COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/${source} > ${target}
                       DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${source})
    list(APPEND compressed ${target})
endforeach()
add_custom_target(package_documents ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${docs} RENAME changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${docs})
install(FILES ${PROJECT_BINARY_DIR}/velmora.1.gz ${PROJECT_BINARY_DIR}/kestrin.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${package})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The velmora and kestrin developers <maintainers@velmora-kestrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "queueing network and warehouse simulators for teaching")
set(CPACK_PACKAGE_DESCRIPTION
    "Two small desktop modelling programs for teachers and students of operations
research. velmora simulates three flows of 1000 tasks through entry servers, a
shared server and a final server with priorities, and charts each flow's
response times; its chart copies or saves the picture and the data. kestrin
simulates a warehouse of ten goods day by day and shows the share of demand it
could not meet.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; what the programs load without linking it
# is named here: the X11 platform plugin, Qt's Russian translations and the
# fonts the forms were laid out in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
