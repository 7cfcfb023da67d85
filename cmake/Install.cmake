# Installation and the Debian package. The destinations are fixed: the
# program finds its shipped files at ../share/kavelo-organizer from its own
# folder (store::ShippedFilesFolder).
set(ORGANIZER_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)
set(ORGANIZER_METAINFO ${ORGANIZER_DESKTOP_DIR}/${ORGANIZER_APP_ID}.metainfo.xml)

# The newest release in the metainfo is the project's version.
file(READ ${ORGANIZER_METAINFO} metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest_release "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest release in ${ORGANIZER_METAINFO} is '${CMAKE_MATCH_1}', "
                        "the project version ${PROJECT_VERSION}: add the release.")
endif()

install(TARGETS kavelo-organizer RUNTIME DESTINATION bin)
file(GLOB ORGANIZER_INSTALLED_LAYOUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/reports/*.RAV)
install(FILES ${ORGANIZER_EMPTY_DB} ${ORGANIZER_INSTALLED_LAYOUTS}
    DESTINATION share/kavelo-organizer)
install(FILES ${ORGANIZER_DESKTOP_DIR}/${ORGANIZER_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ORGANIZER_METAINFO} DESTINATION share/metainfo)
install(FILES ${ORGANIZER_DESKTOP_DIR}/${ORGANIZER_APP_ID}.svg
    DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 48 256)
    install(FILES ${ORGANIZER_DESKTOP_DIR}/${ORGANIZER_APP_ID}-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ORGANIZER_APP_ID}.png)
endforeach()

# The manual page and the changelog are installed compressed, as Debian
# wants them; the copyright lies beside the changelog.
set(ORGANIZER_MANUAL_GZ ${CMAKE_BINARY_DIR}/kavelo-organizer.1.gz)
set(ORGANIZER_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
foreach(pair "${ORGANIZER_DESKTOP_DIR}/kavelo-organizer.1|${ORGANIZER_MANUAL_GZ}"
             "${CMAKE_SOURCE_DIR}/resources/debian/changelog|${ORGANIZER_CHANGELOG_GZ}")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 compressed)
    add_custom_command(OUTPUT ${compressed}
        COMMAND gzip -9nc ${source} > ${compressed}
        DEPENDS ${source}
        COMMENT "Compressing ${source}")
endforeach()
add_custom_target(compressed-docs ALL DEPENDS ${ORGANIZER_MANUAL_GZ} ${ORGANIZER_CHANGELOG_GZ})
install(FILES ${ORGANIZER_MANUAL_GZ} DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${ORGANIZER_CHANGELOG_GZ}
    DESTINATION share/doc/kavelo-organizer)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavelo-organizer)
set(CPACK_PACKAGE_VENDOR "KAVELO SOFTWARE DEVELOPMENT")
set(CPACK_PACKAGE_CONTACT "KAVELO SOFTWARE DEVELOPMENT <info@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal organizer with a Greek user interface")
# Lines of the extended description are kept under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A month calendar whose days open a table of half-hour slots and the day's"
    "notes, a notebook with printing, a contact list, an expenses register with"
    "searches and printed reports, calendar calculations and sticky notes. All"
    "data lives in one encrypted database file in the user's data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/kavelo-organizer)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows draw Greek text in DejaVu Sans; xrandr switches the display.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x11-xserver-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
