# The Debian package (scripts/package): labelkobo_<version>_amd64.deb with
# the library dependencies found by dpkg-shlibdeps, plus the fonts that
# stand in for the MS fonts and Qt's Japanese translation.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME labelkobo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "ラベル工房 maintainers <maintainers@labelkobo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print designation strips for business telephones")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "ラベル工房 designs and prints designation strips: the paper strips beside\n"
    "the programmable keys of a business telephone that name what each key\n"
    "does. One data file per site holds any number of strips, made from\n"
    "templates, typed in place or filled from a palette of labels, and printed\n"
    "at true size on A5, A4 or B5 card stock. vrdtool works on the same files\n"
    "from the command line.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian's changelog of a native package, compressed without a time stamp.
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/docs/changelog > ${changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
