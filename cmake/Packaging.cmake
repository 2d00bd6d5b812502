# The Debian package, built by CPack (scripts/package): the program, its menu entry and icons,
# AppStream data and the licence. Its dependencies are found by dpkg-shlibdeps from the
# libraries the program links, never listed by hand.
# The project has no public address yet: an address under the reserved ".invalid" domain says so
# instead of inventing one. Whoever publishes the package sets theirs ($DEBFULLNAME and $DEBEMAIL
# are read by scripts/package, as by Debian's own tools).
set(KIVO_PACKAGE_MAINTAINER "KIVO developers <kivo@invalid>" CACHE STRING
  "Maintainer field of the Debian package: a name and an address for bug reports")

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kivo RENAME copyright)
# Debian keeps a changelog beside the copyright, compressed reproducibly (a native package's,
# as the package is made here, from the project's own sources).
set(KIVO_CHANGELOG ${PROJECT_BINARY_DIR}/changelog)
file(WRITE ${KIVO_CHANGELOG}
  "kivo (${PROJECT_VERSION}) unstable; urgency=low\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- ${KIVO_PACKAGE_MAINTAINER}  Wed, 09 Dec 2026 00:00:00 +0000\n")
add_custom_command(OUTPUT ${KIVO_CHANGELOG}.gz
  COMMAND gzip -9nfk ${KIVO_CHANGELOG}
  DEPENDS ${KIVO_CHANGELOG})
add_custom_target(kivo_changelog ALL DEPENDS ${KIVO_CHANGELOG}.gz)
install(FILES ${KIVO_CHANGELOG}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kivo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "on-screen keyboard for typing polytonic Greek")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "KIVO is an on-screen keyboard that types Greek letters with breathings,"
  "accents, the iota subscript and other diacritical marks into the program"
  "you are writing in, through synthesized key presses (XTest on X11, a virtual"
  "keyboard on wlroots Wayland desktops such as sway), on any keyboard layout."
  "Its windows never take the focus. It is made for the keypad font"
  "Lumera, which is not part of this package.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KIVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its Wayland platform plugin at run time, so no library dependency names it; the
# libraries found above are added to this list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Files 0644 and directories 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
