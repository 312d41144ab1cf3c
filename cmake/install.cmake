# Installing on a desktop (make install, make deb): the program in lib/quillbarrow, its
# sounds in share/quillbarrow/data, the quillbarrow launcher on PATH that starts the game
# from there, a menu entry and icons drawn from the ship pictures.
install(TARGETS quillbarrow RUNTIME DESTINATION lib/quillbarrow)
install(DIRECTORY data/ DESTINATION share/quillbarrow/data FILES_MATCHING PATTERN "*.wav")
install(PROGRAMS package/desktop/quillbarrow.sh DESTINATION bin RENAME quillbarrow)
install(FILES package/desktop/quillbarrow.desktop DESTINATION share/applications)
install(FILES NOTICE DESTINATION share/doc/quillbarrow RENAME copyright)

include(cmake/icons.cmake)
foreach(size ${ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/quillbarrow-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quillbarrow.png)
endforeach()

# The Debian package (make deb): what make install puts under /usr, with the libraries
# it runs on found by dpkg-shlibdeps. Installing builds nothing: the Makefile builds the
# game and its icons first, and leaves the tests and tools alone.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbarrow)
set(CPACK_PACKAGE_VENDOR "the Quillbarrow crew")
set(CPACK_PACKAGE_CONTACT "the Quillbarrow crew <crew@quillbarrow.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pixel-art sailing game: cargo, islands and pirates")
set(CPACK_PACKAGE_DESCRIPTION "Captain a cargo ship among randomly generated islands: take cargo at\n\
the active ports, sell it at the buying port for gold that grows with the\n\
square of the load, fight pirate ships with broadsides, escape whirlpools and\n\
pick up barrels of cannonballs. Plays with a keyboard or a game pad.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
