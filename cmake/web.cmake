# The browser build (make web): the folder web/ of the build, ready to be served as it is:
#   index.html, manifest.webmanifest, icon.png, icon-192.png, icon-512.png, NOTICE
#   game.js, game.wasm      the game; main's loop sleeps at the end of every frame, which
#                           a page can only do through ASYNCIFY
#   data/NAME.ogg           each data/NAME.wav as Ogg Vorbis, which the page has the
#                           browser decode (the desktop and handhelds keep the WAVs)
#   sw.js                   the service worker, with the version stamp of all the above
#   FILE.gz, FILE.br        the text and WebAssembly files compressed, for the server
# The sounds need vorbis-tools, the compressed files gzip and brotli (the Makefile
# installs them).
set(WEB_DIR ${CMAKE_BINARY_DIR}/web)
set_target_properties(quillbarrow PROPERTIES OUTPUT_NAME game SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${WEB_DIR})
# Only OpenWindow and PaceFrame wait, and main calls both directly: no call through a
# pointer needs to be able to pause, which keeps ASYNCIFY's extra code small. The game
# needs no file system (the score is in the browser's storage, the sounds come from
# the page) and takes from the page's Module only what is listed. GameState and
# overlayMode are exported for the page's test, which reads the screen shown from them.
target_link_options(quillbarrow PRIVATE -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sENVIRONMENT=web
                    -sFILESYSTEM=0 -sMALLOC=emmalloc -sEXPORTED_FUNCTIONS=[_main,_GameState,_overlayMode]
                    -sINCOMING_MODULE_JS_API=[print,printErr,instantiateWasm,onRuntimeInitialized,onAbort])

# The sounds: each WAV as Ogg Vorbis, with the silence after it that the page cuts off
# again by the table of lengths it is built with (tools/web/sounds.py says why). A
# changed WAV configures anew, so that the table follows it.
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(OGGENC oggenc REQUIRED)
file(GLOB WEB_WAVS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.wav)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${WEB_WAVS} tools/web/sounds.py)
set(WEB_OGGS)
foreach(wav ${WEB_WAVS})
  get_filename_component(name ${wav} NAME_WE)
  add_custom_command(
    OUTPUT ${WEB_DIR}/data/${name}.ogg
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/web/sounds.py encode ${wav} ${WEB_DIR}/data/${name}.ogg
    DEPENDS ${wav} tools/web/sounds.py
    VERBATIM)
  list(APPEND WEB_OGGS ${WEB_DIR}/data/${name}.ogg)
endforeach()
file(MAKE_DIRECTORY ${WEB_DIR}/data)
execute_process(COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/web/sounds.py lengths ${WEB_WAVS}
                OUTPUT_VARIABLE WEB_SOUNDS OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the lengths of data/*.wav")
endif()

# The page learns the sounds it fetches, and their lengths, from the build.
configure_file(package/web/index.html ${WEB_DIR}/index.html @ONLY)
configure_file(package/web/manifest.webmanifest ${WEB_DIR}/manifest.webmanifest COPYONLY)
configure_file(NOTICE ${WEB_DIR}/NOTICE COPYONLY)

include(cmake/icons.cmake)
add_custom_command(
  OUTPUT ${WEB_DIR}/icon.png ${WEB_DIR}/icon-192.png ${WEB_DIR}/icon-512.png
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/icons/quillbarrow-32.png ${WEB_DIR}/icon.png
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/web/web_icons.py ${WEB_DIR}
  DEPENDS ${CMAKE_BINARY_DIR}/icons/quillbarrow-32.png tools/web/web_icons.py tools/art/draw_icons.py
          tools/art/sheet.py assets/art/ships.png
  VERBATIM)

add_custom_command(
  OUTPUT ${WEB_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DWEB_DIR=${WEB_DIR} -DTEMPLATE=${CMAKE_SOURCE_DIR}/package/web/sw.js
          -P ${CMAKE_SOURCE_DIR}/tools/web/stamp.cmake
  DEPENDS quillbarrow ${WEB_OGGS} ${WEB_DIR}/icon.png ${WEB_DIR}/icon-192.png ${WEB_DIR}/icon-512.png
          ${WEB_DIR}/index.html ${WEB_DIR}/manifest.webmanifest ${WEB_DIR}/NOTICE
          package/web/sw.js tools/web/stamp.cmake
  COMMENT "Stamping and compressing the page"
  VERBATIM)
add_custom_target(web ALL DEPENDS ${WEB_DIR}/sw.js)
