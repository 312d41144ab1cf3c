# Installing on a desktop (make install, make deb), where Debian keeps games: the
# quillbarrow command in games/, a launcher that starts the program (libexec/quillbarrow)
# in its data folder share/games/quillbarrow, since the game reads its sounds from
# ./data; a menu entry and the AppStream data that software centres show, icons drawn
# from the ship pictures, the manual page, the changelog and NOTICE as the copyright.
install(TARGETS quillbarrow RUNTIME DESTINATION libexec/quillbarrow)
install(DIRECTORY data/ DESTINATION share/games/quillbarrow/data FILES_MATCHING PATTERN "*.wav")
install(PROGRAMS package/desktop/quillbarrow.sh DESTINATION games RENAME quillbarrow)
install(FILES package/desktop/io.github.quillbarrow.Quillbarrow.desktop DESTINATION share/applications)
install(FILES package/desktop/io.github.quillbarrow.Quillbarrow.metainfo.xml DESTINATION share/metainfo)
install(FILES NOTICE DESTINATION share/doc/quillbarrow RENAME copyright)

include(cmake/icons.cmake)
foreach(size ${ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/quillbarrow-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quillbarrow.png)
endforeach()

# The manual page and the changelog go out compressed, as Debian keeps them: gzip -9n
# stores no name or time, so the same text always gives the same file.
set(MANUAL_FILES ${CMAKE_BINARY_DIR}/doc/quillbarrow.6.gz ${CMAKE_BINARY_DIR}/doc/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/doc)
foreach(source package/desktop/quillbarrow.6 package/debian/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/doc/${name}.gz
    COMMAND sh -c "gzip -9n < ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/doc/${name}.gz"
    DEPENDS ${source}
    VERBATIM)
endforeach()
add_custom_target(manual ALL DEPENDS ${MANUAL_FILES})
install(FILES ${CMAKE_BINARY_DIR}/doc/quillbarrow.6.gz DESTINATION share/man/man6)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION share/doc/quillbarrow)

# make install and make deb build the game, its icons and the manual first (the Makefile's
# game target); installing builds nothing more, so the tests and tools stay unbuilt.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
