# The browser build (make web): the game as game.js and game.wasm, the sounds packed into
# game.data, beside our own page and an icon, in the folder web/ of the build. main's
# loop sleeps at the end of every frame, which a page can only do through ASYNCIFY.
set(WEB_DIR ${CMAKE_BINARY_DIR}/web)
file(GLOB WEB_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.wav)
set_target_properties(quillbarrow PROPERTIES OUTPUT_NAME game SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${WEB_DIR}
                      LINK_DEPENDS "${WEB_DATA}")
target_link_options(quillbarrow PRIVATE -sASYNCIFY -sENVIRONMENT=web
                    --preload-file ${CMAKE_SOURCE_DIR}/data@/data)
include(cmake/icons.cmake)
add_custom_command(
  OUTPUT ${WEB_DIR}/index.html ${WEB_DIR}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/package/web/index.html ${WEB_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/icons/quillbarrow-32.png ${WEB_DIR}/icon.png
  DEPENDS package/web/index.html ${CMAKE_BINARY_DIR}/icons/quillbarrow-32.png
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${WEB_DIR}/index.html ${WEB_DIR}/icon.png)
add_dependencies(quillbarrow web_page)
